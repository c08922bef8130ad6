// Menu pages made from the applications, and merged with the user's changes.
#include "appmenus/MenuMerge.h"

#include "rtl/TextFile.h"
#include "session/Menu.h"

#include <algorithm>

namespace appmenus {

namespace {

struct Face {
    QColor face;
    QColor caption;
};

struct Column {
    const char* title;
    const char* fileStem; // of the column's further menus
    QStringList mainCategories;
    std::array<Face, 3> faces; // taken row by row in turn
};

const QColor white(255, 255, 255);
const QColor black(0, 0, 0);

// The last column also takes every application without a main category.
const std::array<Column, menufile::ColumnCount>& columns()
{
    static const std::array<Column, menufile::ColumnCount> table { {
        { "Internet & Office", "Internet", { "Network", "Office" },
            { { { { 31, 78, 121 }, white }, { { 46, 117, 182 }, white }, { { 157, 195, 230 }, black } } } },
        { "Graphics & Media", "Media", { "Graphics", "AudioVideo", "Audio", "Video", "Game" },
            { { { { 112, 48, 160 }, white }, { { 166, 77, 121 }, white }, { { 217, 180, 222 }, black } } } },
        { "Development & Science", "Development", { "Development", "Education", "Science" },
            { { { { 56, 87, 35 }, white }, { { 84, 130, 53 }, white }, { { 169, 208, 142 }, black } } } },
        { "System & Utilities", "System", { "System", "Settings", "Utility" },
            { { { { 127, 96, 0 }, white }, { { 191, 143, 0 }, black }, { { 255, 217, 102 }, black } } } },
    } };
    return table;
}

const Face navigation { { 0, 0, 128 }, { 255, 255, 0 } }; // "More …" and "Back"
const QColor emptyFace(192, 192, 192);
const QString fontName = QStringLiteral("MS Sans Serif");
const QByteArray mainFirstLine = "Kavro Start: the applications installed on this computer";
constexpr int rows = menufile::RowsPerColumn;
constexpr int lastSlot = menufile::GadgetCount - 1;
constexpr int titlePart = 1 + menufile::GadgetCount; // the first title's part

using Gadget = std::array<QByteArray, 8>;

// The stored colour: red in the lowest byte.
QByteArray colourValue(QColor c) { return QByteArray::number(c.red() | (c.green() << 8) | (c.blue() << 16)); }

// A caption on one menu line: a CR would end the line and a Ctrl-Z the whole menu.
QByteArray captionLine(QString caption)
{
    for (QChar& c : caption)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return caption.toLocal8Bit();
}

Gadget gadget(
    const char* mode, const QString& path, const QString& caption, const Face& face, const QString& picture = {})
{
    return { mode, path.toLocal8Bit(), captionLine(caption), colourValue(face.face), fontName.toLocal8Bit(),
        colourValue(face.caption), picture.toLocal8Bit(), picture.isEmpty() ? "2" : "0" };
}

Gadget emptyGadget() { return { "None", "", "", colourValue(emptyFace), "", colourValue(black), "", "2" }; }

QList<QByteArray> listOf(const Gadget& lines) { return { lines.begin(), lines.end() }; }

// Faces go round the column's colours: row by row on the main menu, slot by
// slot on further pages (each of which holds 54 or 55 applications after "Back").
const Face& faceAt(int column, bool mainMenu, int slot)
{
    return columns()[size_t(column)].faces[size_t((mainMenu ? slot % rows : slot) % 3)];
}

QString pageFileName(int column, int number)
{
    return QStringLiteral("%1-%2.ini").arg(QString::fromUtf8(columns()[size_t(column)].fileStem)).arg(number);
}

} // namespace

bool listedBefore(const QString& name, const QString& id, const QString& otherName, const QString& otherId)
{
    const int order = name.compare(otherName, Qt::CaseInsensitive);
    if (order != 0)
        return order < 0;
    return name != otherName ? name < otherName : id < otherId;
}

int columnOf(const QStringList& categories)
{
    for (const QString& category : categories)
        for (int c = 0; c < menufile::ColumnCount; ++c)
            if (columns()[size_t(c)].mainCategories.contains(category))
                return c;
    return menufile::ColumnCount - 1;
}

QString columnTitle(int column) { return QString::fromUtf8(columns()[size_t(column)].title); }

MenuMerge::MenuMerge(const MenuFolder& folder)
    : configs_(folder.configs)
    , names_(folder.names)
    , stems_(folder.record.stems)
{
    if (folder.record.pages.isEmpty()) { // a first making
        pages_.append(newPage(-1, 1));
        pages_[0].file = QStringLiteral("Main.ini");
        return;
    }
    for (const MenuRecord::Page& recorded : folder.record.pages)
        read(recorded, folder.pages);
}

void MenuMerge::read(const MenuRecord::Page& recorded, const QHash<QString, QByteArray>& onDisk)
{
    Page page;
    page.file = recorded.file;
    page.column = recorded.column;
    page.before = recorded.parts;
    QList<QByteArray> lines;
    if (const auto bytes = onDisk.constFind(recorded.file); bytes != onDisk.cend()) {
        rtl::TextReader reader(*bytes);
        for (int i = 0; i < menufile::LineCount; ++i)
            lines.append(reader.readLine());
        // Lines that would not be written back as they stand: the user's file, left alone.
        page.frozen = rtl::joinCrLf(lines) != *bytes;
    } else if (names_.contains(recorded.file.toLower())) {
        page.frozen = true; // a link or a folder stands there now
        lines = QList<QByteArray>(menufile::LineCount);
    } else {
        // Gone: without the main menu there is nothing to follow; a further page is forgotten.
        followed_ = followed_ && page.column >= 0;
        return;
    }
    const auto made = [&](int part, const QList<QByteArray>& partLines) {
        const QByteArray& hash = recorded.parts[size_t(part)].hash;
        return !page.frozen && !hash.isEmpty() && madeHash(partLines) == hash;
    };
    for (int t = 0; t < 1 + menufile::ColumnCount; ++t) {
        const int line = t == 0 ? 1 : menufile::columnTitleLine(t);
        page.text[size_t(t)] = lines[line - 1];
        page.textMade[size_t(t)] = made(t == 0 ? 0 : titlePart + t - 1, { lines[line - 1] });
    }
    for (int n = 1; n <= menufile::GadgetCount; ++n) {
        Slot& slot = page.gadgets[size_t(n - 1)];
        for (int f = 0; f < 8; ++f)
            slot.lines[size_t(f)] = lines[menufile::gadgetLine(n, f) - 1];
        slot.application = recorded.parts[size_t(n)].application;
        slot.kind = Kind::User;
        if (made(n, listOf(slot.lines))) {
            if (slot.lines[0] == "Run" && !slot.application.isEmpty())
                slot.kind = Kind::App;
            else if (slot.lines[0] == "Menu")
                slot.kind = Kind::Link;
            else if (slot.lines[0] == "None")
                slot.kind = Kind::Empty;
        }
    }
    pages_.append(page);
}

MenuMerge::Page MenuMerge::newPage(int column, int number) const
{
    Page page;
    page.column = column;
    page.textMade.fill(true);
    page.gadgets.fill({ emptyGadget(), Kind::Empty, {} });
    if (column < 0)
        return page;
    page.gadgets[0].kind = Kind::Link; // "Back"
    // The next name nothing else has taken.
    for (int n = number;; ++n) {
        page.file = pageFileName(column, n);
        const bool taken = names_.contains(page.file.toLower())
            || std::any_of(pages_.cbegin(), pages_.cend(),
                [&](const Page& other) { return other.file.compare(page.file, Qt::CaseInsensitive) == 0; });
        if (!taken)
            return page;
    }
}

QList<int> MenuMerge::chain(int column) const
{
    QList<int> chain { 0 };
    for (int p = 1; p < pages_.size(); ++p)
        if (pages_[p].column == column)
            chain.append(p);
    return chain;
}

namespace {

// The slot that links a page of a column to the next one: the main menu's
// last row of the column, a further page's last slot.
int linkSlot(int column, bool mainMenu) { return mainMenu ? column * rows + rows - 1 : lastSlot; }

} // namespace

bool MenuMerge::place(const MenuApplication& app)
{
    const QList<int> pages = chain(app.column);
    for (int i = 0; i < pages.size(); ++i) {
        Page& page = pages_[pages[i]];
        const bool mainMenu = i == 0;
        const bool last = i == pages.size() - 1;
        // A free slot: not "Back", and not the link to a next page.
        const int first = mainMenu ? app.column * rows : 1;
        const int end = linkSlot(app.column, mainMenu) + (last ? 1 : 0);
        for (int s = first; s < end; ++s) {
            Slot& slot = page.gadgets[size_t(s)];
            if (slot.kind == Kind::Empty) {
                slot = { {}, Kind::App, app.id };
                return true;
            }
        }
    }
    // No room: a new page, linked from the last one in place of its last application.
    Page& last = pages_[pages.back()];
    Slot& link = last.gadgets[size_t(linkSlot(app.column, pages.size() == 1))];
    if (link.kind == Kind::User)
        return false;
    Page next = newPage(app.column, int(pages.size()) + 1);
    if (link.kind == Kind::App)
        next.gadgets[1] = link;
    link = { {}, Kind::Link, {} };
    pages_.append(next);
    return place(app);
}

// Drops the column's last further pages while nothing of an application or
// of the user is left on them.
void MenuMerge::trim(int column)
{
    for (QList<int> pages = chain(column); pages.size() > 1; pages.removeLast()) {
        const Page& last = pages_[pages.back()];
        const bool vacant = !last.frozen
            && std::all_of(last.textMade.cbegin(), last.textMade.cend(), [](bool made) { return made; })
            && std::all_of(last.gadgets.cbegin(), last.gadgets.cend(),
                [](const Slot& slot) { return slot.kind == Kind::Empty || slot.kind == Kind::Link; });
        if (!vacant)
            return;
        removed_.append(path(last.file));
        pages_.removeAt(pages.back());
    }
}

// "More …" to each next page and "Back" to each previous one, where the program's gadgets stand.
void MenuMerge::relink(int column)
{
    const QList<int> pages = chain(column);
    for (int i = 0; i < pages.size(); ++i) {
        Page& page = pages_[pages[i]];
        if (page.frozen)
            continue;
        Slot& link = page.gadgets[size_t(linkSlot(column, i == 0))];
        const bool open = link.kind == Kind::Empty || link.kind == Kind::Link;
        if (i + 1 < pages.size() && open)
            link = { gadget("Menu", path(pages_[pages[i + 1]].file), QStringLiteral("More …"), navigation), Kind::Link,
                {} };
        else if (i + 1 == pages.size() && link.kind == Kind::Link)
            link = { emptyGadget(), Kind::Empty, {} };
        Slot& back = page.gadgets[0];
        if (i > 0 && (back.kind == Kind::Empty || back.kind == Kind::Link))
            back = { gadget("Menu", path(pages_[pages[i - 1]].file), QStringLiteral("Back"), navigation), Kind::Link,
                {} };
    }
}

MergedMenus MenuMerge::merge(QList<MenuApplication> applications)
{
    MergedMenus merged;
    merged.followed = followed_;
    if (!followed_)
        return merged;
    std::sort(applications.begin(), applications.end(),
        [](const MenuApplication& a, const MenuApplication& b) { return listedBefore(a.name, a.id, b.name, b.id); });
    QHash<QString, MenuApplication> installed;
    for (const MenuApplication& app : std::as_const(applications))
        installed.insert(app.id, app);

    // The program's gadgets of applications that are gone, or now belong to another column, go.
    QSet<QString> placed;
    for (Page& page : pages_) {
        for (int s = 0; s < menufile::GadgetCount; ++s) {
            Slot& slot = page.gadgets[size_t(s)];
            const int column = page.column < 0 ? s / rows : page.column;
            if (slot.kind == Kind::App
                && (!installed.contains(slot.application) || installed[slot.application].column != column))
                slot = { emptyGadget(), Kind::Empty, {} };
            placed.insert(slot.application);
        }
    }
    for (const MenuApplication& app : std::as_const(applications))
        if (!placed.contains(app.id))
            place(app);
    for (int c = 0; c < menufile::ColumnCount; ++c) {
        trim(c);
        relink(c);
    }

    merged.record.stems = stems_;
    for (int p = 0; p < pages_.size(); ++p) {
        Page& page = pages_[p];
        MenuRecord::Page recorded { page.file, page.column, page.before };
        if (page.frozen) {
            merged.record.pages.append(recorded);
            continue;
        }
        const bool mainMenu = page.column < 0;
        for (int s = 0; s < menufile::GadgetCount; ++s) {
            Slot& slot = page.gadgets[size_t(s)];
            if (slot.kind == Kind::App) {
                const MenuApplication& app = installed[slot.application];
                const Face& face = faceAt(app.column, mainMenu, s);
                slot.lines = gadget("Run", app.launcher, app.name, face, app.picture);
                merged.faces.insert(app.id, face.face);
            }
            recorded.parts[size_t(s) + 1]
                = { slot.kind == Kind::User ? QByteArray() : madeHash(listOf(slot.lines)), slot.application };
        }
        for (int t = 0; t <= menufile::ColumnCount; ++t) {
            QByteArray& text = page.text[size_t(t)];
            const int part = t == 0 ? 0 : titlePart + t - 1;
            if (!page.textMade[size_t(t)]) {
                recorded.parts[size_t(part)].hash.clear();
                continue;
            }
            if (t == 0)
                text = mainMenu ? mainFirstLine
                                : QStringLiteral("Kavro Start: %1, page %2")
                                      .arg(columnTitle(page.column))
                                      .arg(chain(page.column).indexOf(p) + 1)
                                      .toUtf8();
            else if (mainMenu)
                text = columnTitle(t - 1).toLocal8Bit();
            else // a column of a further page has a title when it has a gadget at the top
                text = page.gadgets[size_t(t - 1) * rows].lines[0] != "None" ? columnTitle(page.column).toLocal8Bit()
                                                                             : QByteArray();
            recorded.parts[size_t(part)] = { madeHash({ text }), {} };
        }
        QList<QByteArray> lines { page.text[0] };
        for (const Slot& slot : page.gadgets)
            lines += listOf(slot.lines);
        for (int t = 1; t <= menufile::ColumnCount; ++t)
            lines.append(page.text[size_t(t)]);
        merged.record.pages.append(recorded);
        merged.pages.append({ path(page.file), rtl::joinCrLf(lines) });
    }
    merged.removed = removed_;
    return merged;
}

} // namespace appmenus
