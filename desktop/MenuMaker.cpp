// Menus from installed applications.
#include "desktop/MenuMaker.h"

#include "desktop/IconPicture.h"
#include "desktop/LauncherScript.h"
#include "platform/Bitmap.h"
#include "platform/FileIO.h"
#include "rtl/Errors.h"
#include "rtl/TextFile.h"
#include "session/Menu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <array>

namespace menus {

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
const std::array<Column, ColumnCount>& columns()
{
    static const std::array<Column, ColumnCount> table { {
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
constexpr int pictureSide = 18;

// The stored colour: red in the lowest byte.
QByteArray colourValue(QColor c) { return QByteArray::number(c.red() | (c.green() << 8) | (c.blue() << 16)); }

using Gadget = std::array<QByteArray, 8>;

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

// One page of gadgets, 56 slots filled column by column, and its titles.
struct Page {
    QString file;
    QByteArray firstLine;
    std::array<Gadget, menu::GadgetCount> gadgets;
    std::array<QString, ColumnCount> titles;

    Page() { gadgets.fill(emptyGadget()); }

    QByteArray text() const
    {
        QList<QByteArray> lines { firstLine };
        for (const Gadget& g : gadgets)
            for (const QByteArray& field : g)
                lines.append(field);
        for (const QString& title : titles)
            lines.append(title.toLocal8Bit());
        return rtl::joinCrLf(lines);
    }
};

// A file below the start folder: a symbolic link found in its place is
// removed first, so nothing is written through it to another place.
void writeInside(const QString& path, const QByteArray& data, platform::FileMode mode)
{
    if (QFileInfo(path).isSymLink())
        QFile::remove(path);
    platform::replaceFileAtomically(path, data, mode);
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        rtl::raiseInOut(rtl::ioAccessDenied);
}

// A menu line ends at a CR, and Ctrl-Z ends the data.
void checkFitsOnALine(const QString& text)
{
    if (text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(26)))
        throw rtl::Exception(QStringLiteral("A menu cannot name the folder %1").arg(text));
}

struct Entry {
    Application app;
    QString launcher;
    QString picture; // empty when the icon was not found
    Face face;
};

} // namespace

int columnOf(const QStringList& categories)
{
    for (const QString& category : categories)
        for (int c = 0; c < ColumnCount; ++c)
            if (columns()[size_t(c)].mainCategories.contains(category))
                return c;
    return ColumnCount - 1;
}

QString columnTitle(int column) { return QString::fromUtf8(columns()[size_t(column)].title); }

MadeMenus writeMenus(const QString& startFolder, QList<Application> applications, const IconLookup* icons)
{
    const QString root = QDir::cleanPath(QDir(startFolder).absolutePath());
    checkFitsOnALine(root);
    const QString configs = root + QStringLiteral("/ConFigs");
    const QString launchers = root + QStringLiteral("/Launchers");
    const QString pictures = root + QStringLiteral("/Pictures");
    for (const QString& folder : { configs, launchers, pictures })
        makeFolder(folder);

    // Sorted by name alone, whatever the locale, so the same input gives the same files.
    std::sort(applications.begin(), applications.end(), [](const Application& a, const Application& b) {
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        if (byName != 0)
            return byName < 0;
        return a.name != b.name ? a.name < b.name : a.id < b.id;
    });

    MadeMenus made;
    std::array<QList<Entry>, ColumnCount> grouped;
    QSet<QString> stems;
    for (const Application& app : applications) {
        const QString base = safeFileName(app.id.endsWith(QLatin1String(".desktop")) ? app.id.chopped(8) : app.id);
        QString stem = base;
        for (int n = 2; stems.contains(stem.toLower()); ++n)
            stem = base + u'-' + QString::number(n);
        stems.insert(stem.toLower());
        QList<Entry>& column = grouped[size_t(columnOf(app.categories))];
        // Faces go round the column's colours, on the main menu and on further pages alike.
        Entry entry { app, launchers + u'/' + stem + QStringLiteral(".sh"), {},
            columns()[size_t(columnOf(app.categories))].faces[size_t(column.size() % 3)] };
        writeInside(entry.launcher, launcherScript(app.command, app.workFolder, app.name + " (" + app.id + ")"), 0755);
        if (icons) {
            const QImage icon = icons->find(app.icon, pictureSide - 2);
            if (!icon.isNull()) {
                entry.picture = pictures + u'/' + stem + QStringLiteral(".bmp");
                writeInside(
                    entry.picture, platform::encodeBitmap24(gadgetPicture(icon, entry.face.face, pictureSide)), 0644);
                ++made.pictures;
            }
        }
        column.append(entry);
        ++made.applications;
    }

    Page main;
    main.file = configs + QStringLiteral("/Main.ini");
    main.firstLine = "Kavro Start: the applications installed on this computer";
    QList<Page> further;
    const auto runGadget = [](const Entry& e) { return gadget("Run", e.launcher, e.app.name, e.face, e.picture); };
    const QString moreCaption = QStringLiteral("More …");
    constexpr int rows = menu::RowsPerColumn;
    constexpr int lastSlot = menu::GadgetCount - 1;
    for (int c = 0; c < ColumnCount; ++c) {
        const QList<Entry>& entries = grouped[size_t(c)];
        const auto pageFile = [&](qsizetype number) {
            return QStringLiteral("%1/%2-%3.ini")
                .arg(configs, QString::fromUtf8(columns()[size_t(c)].fileStem))
                .arg(number);
        };
        main.titles[size_t(c)] = columnTitle(c);
        const bool overflow = entries.size() > rows;
        const int onMain = overflow ? rows - 1 : int(entries.size());
        for (int r = 0; r < onMain; ++r)
            main.gadgets[size_t(c) * rows + size_t(r)] = runGadget(entries[r]);
        if (overflow)
            main.gadgets[size_t(c) * rows + rows - 1] = gadget("Menu", pageFile(2), moreCaption, navigation);
        // The rest goes on further pages: "Back" first, then the applications,
        // and "More …" in the last slot while some are left over.
        QString previous = main.file;
        for (qsizetype next = onMain, number = 2; next < entries.size(); ++number) {
            Page page;
            page.file = pageFile(number);
            page.firstLine = QStringLiteral("Kavro Start: %1, page %2").arg(columnTitle(c)).arg(number).toUtf8();
            page.gadgets[0] = gadget("Menu", previous, QStringLiteral("Back"), navigation);
            const int room = entries.size() - next > lastSlot ? lastSlot - 1 : lastSlot;
            for (int slot = 1; slot <= room && next < entries.size(); ++slot)
                page.gadgets[size_t(slot)] = runGadget(entries[next++]);
            if (next < entries.size())
                page.gadgets[lastSlot] = gadget("Menu", pageFile(number + 1), moreCaption, navigation);
            for (int t = 0; t < ColumnCount; ++t)
                if (page.gadgets[size_t(t) * rows][0] != "None")
                    page.titles[size_t(t)] = columnTitle(c);
            previous = page.file;
            further.append(page);
        }
    }
    // The main menu goes last, when everything it names is in place.
    for (const Page& page : further)
        writeInside(page.file, page.text(), 0644);
    writeInside(main.file, main.text(), 0644);
    made.mainMenu = main.file;
    made.menus.append(main.file);
    for (const Page& page : further)
        made.menus.append(page.file);
    return made;
}

} // namespace menus
