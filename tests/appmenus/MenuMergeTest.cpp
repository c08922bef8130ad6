// Made menus following the applications: new ones take free places, gone
// ones' gadgets go, and what the user changed stays.
#include "appmenus/MenuMerge.h"

#include "rtl/TextFile.h"

#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using appmenus::MenuRecord;

namespace {

// The ConFigs folder in memory, written as the maker writes it.
struct Folder {
    appmenus::MenuFolder folder { "/s/ConFigs", {}, {}, {} };
    bool followed = true;
    QStringList changed; // the page files the last merge changed or removed

    // Each name is an application, "Name@c" one of column c.
    void follow(const QStringList& names)
    {
        QList<appmenus::MenuApplication> apps;
        for (const QString& named : names) {
            const QString name = named.section(u'@', 0, 0);
            apps.append(
                { name + ".desktop", name, named.section(u'@', 1).toInt(), "/s/Launchers/" + name + ".sh", {} });
        }
        const appmenus::MergedMenus merged = appmenus::MenuMerge(folder).merge(apps);
        followed = merged.followed;
        changed.clear();
        for (const auto& [path, text] : merged.pages) {
            const QString file = QFileInfo(path).fileName();
            if (folder.pages.value(file) != text)
                changed.append(file);
            folder.pages[file] = text;
        }
        for (const QString& path : merged.removed) {
            changed.append(QFileInfo(path).fileName());
            folder.pages.remove(QFileInfo(path).fileName());
        }
        if (followed)
            folder.record = merged.record;
        folder.names.clear();
        for (const QString& file : folder.pages.keys())
            folder.names.insert(file.toLower());
    }

    QList<QByteArray> lines(const QString& file) const
    {
        rtl::TextReader reader(folder.pages.value(file));
        QList<QByteArray> lines;
        for (int i = 0; i < menufile::LineCount; ++i)
            lines.append(reader.readLine());
        return lines;
    }
    // What the user's editor does: one line of a page changed, the rest written back as they were.
    void edit(const QString& file, int line, const QByteArray& text)
    {
        QList<QByteArray> all = lines(file);
        all[line - 1] = text;
        folder.pages[file] = rtl::joinCrLf(all);
    }
};

int caption(int n) { return menufile::gadgetLine(n, menufile::GadgetName); }
int mode(int n) { return menufile::gadgetLine(n, menufile::StartMode); }

QStringList numbered(const char* stem, int count)
{
    QStringList names;
    for (int n = 1; n <= count; ++n)
        names.append(QStringLiteral("%1%2").arg(stem).arg(n, 2, 10, QLatin1Char('0')));
    return names;
}

struct Seen {
    const char* file;
    int line;
    QString text;
};

TEST(MenuMerge, NewApplicationsTakeFreePlacesGoneOnesGoAndTheUsersChangesStay)
{
    const QString main = "Main.ini";
    const struct {
        const char* what;
        QStringList before;
        std::function<void(Folder&)> userChange;
        QStringList after;
        QList<Seen> seen;
        QStringList changed;
        bool followed = true;
    } cases[] = {
        { "a new application takes the first free row of its column", { "A", "C" }, {}, { "A", "B", "C", "X@3" },
            { { "Main.ini", caption(1), "A" }, { "Main.ini", caption(2), "C" }, { "Main.ini", caption(3), "B" },
                { "Main.ini", caption(43), "X" } },
            { main } },
        { "a gone application's gadget goes", { "A", "B", "C" }, {}, { "A", "C" },
            { { "Main.ini", mode(2), "None" }, { "Main.ini", caption(3), "C" } }, { main } },
        { "the next new application takes a gone one's place", { "A", "B", "C" }, {}, { "A", "C", "D" },
            { { "Main.ini", caption(2), "D" } }, { main } },
        { "the same applications change nothing", { "A", "B" }, {}, { "B", "A" }, {}, {} },
        { "an edited gadget stays when its application goes", { "A", "B" },
            [](Folder& f) { f.edit("Main.ini", caption(2), "Mine"); }, { "A" },
            { { "Main.ini", caption(2), "Mine" }, { "Main.ini", mode(2), "Run" } }, {} },
        { "an application whose gadget the user edited is not placed again", { "A", "B" },
            [](Folder& f) { f.edit("Main.ini", caption(2), "Mine"); }, { "A", "B", "C" },
            { { "Main.ini", caption(2), "Mine" }, { "Main.ini", caption(3), "C" }, { "Main.ini", mode(4), "None" } },
            { main } },
        { "a gadget the user put in a free place stays", { "A" },
            [](Folder& f) { f.edit("Main.ini", caption(2), "Mine"); }, { "A", "B" },
            { { "Main.ini", caption(2), "Mine" }, { "Main.ini", caption(3), "B" } }, { main } },
        { "a column title the user changed stays", { "A" },
            [](Folder& f) { f.edit("Main.ini", menufile::columnTitleLine(1), "Web"); }, { "A", "B" },
            { { "Main.ini", menufile::columnTitleLine(1), "Web" }, { "Main.ini", caption(2), "B" } }, { main } },
        { "an application of another column now moves there", { "A" }, {}, { "A@3" },
            { { "Main.ini", mode(1), "None" }, { "Main.ini", caption(43), "A" } }, { main } },
        { "a full column goes on to a further page behind More", numbered("N", 14), {}, numbered("N", 15),
            { { "Main.ini", caption(13), "N13" }, { "Main.ini", caption(14), "More …" },
                { "Internet-2.ini", caption(1), "Back" }, { "Internet-2.ini", caption(2), "N14" },
                { "Internet-2.ini", caption(3), "N15" } },
            { main, "Internet-2.ini" } },
        { "an emptied further page goes with its More", numbered("N", 15), {}, numbered("N", 13),
            { { "Main.ini", mode(14), "None" } }, { main, "Internet-2.ini" } },
        { "without room beside the user's gadget an application is left out", numbered("N", 13),
            [](Folder& f) { f.edit("Main.ini", caption(14), "Mine"); }, numbered("N", 14),
            { { "Main.ini", caption(14), "Mine" } }, {} },
        { "a page the user made unreadable is left alone", { "A" },
            [](Folder& f) { f.folder.pages["Main.ini"].replace("\r\n", "\n"); }, { "A", "B" }, {}, {} },
        { "without the main menu nothing follows", { "A" },
            [](Folder& f) { f.folder.pages.remove("Main.ini"), f.folder.names.remove("main.ini"); }, { "A", "B" }, {},
            {}, false },
    };
    for (const auto& c : cases) {
        Folder folder;
        folder.follow(c.before);
        if (c.userChange)
            c.userChange(folder);
        const QHash<QString, QByteArray> before = folder.folder.pages;
        folder.follow(c.after);
        EXPECT_EQ(folder.followed, c.followed) << c.what;
        EXPECT_EQ(folder.changed, c.changed) << c.what;
        for (const Seen& seen : c.seen)
            EXPECT_EQ(folder.lines(seen.file)[seen.line - 1].toStdString(), seen.text.toStdString())
                << c.what << ", " << seen.file << " line " << seen.line;
        // What the user changed is there byte for byte.
        for (auto page = before.cbegin(); page != before.cend(); ++page) {
            if (!folder.changed.contains(page.key())) {
                EXPECT_EQ(folder.folder.pages.value(page.key()), page.value()) << c.what;
            }
        }
    }
}

TEST(MenuRecord, ReadsBackWhatItWroteAndRefusesAnythingElse)
{
    Folder folder;
    folder.folder.record.stems.insert("odd id.desktop", "odd_id");
    folder.follow(numbered("N", 15));
    const QByteArray text = folder.folder.record.text();
    const std::optional<MenuRecord> read = MenuRecord::parse(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text(), text);
    EXPECT_EQ(read->pages.size(), 2);
    EXPECT_EQ(read->stems.value("odd id.desktop"), "odd_id");
    const auto broken
        = [&](const QByteArray& from, const QByteArray& to) { return QByteArray(text).replace(from, to); };
    for (const QByteArray& bad : { QByteArray(), text.left(text.size() - 1), text.left(text.lastIndexOf("part")),
             broken("page 0 Internet-2.ini", "page 0 ..%2Fx.ini"), broken("page 0 ", "page 4 "),
             broken("page -1 ", "page 0 "), broken("odd_id", "a%0Ab"), broken("Kavro Start", "Kavro") })
        EXPECT_FALSE(MenuRecord::parse(bad)) << bad.left(200).toStdString();
}

} // namespace
