// Menus made from installed applications: which applications, in which
// column, with which launcher and picture, and that the launcher screen takes them.
#include "appmenus/MenuMaker.h"

#include "appmenus/ApplicationCatalog.h"
#include "appmenus/DroppedGadget.h"
#include "appmenus/IconPicture.h"
#include "controls/Colorbut.h"
#include "controls/Panel.h"
#include "launcher/myver.h"
#include "platform/Bitmap.h"
#include "platform/FileIO.h"
#include "support/MadeUpApplications.h"
#include "support/WindowsFixture.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QIcon>
#include <QMap>
#include <algorithm>
#include <sys/stat.h>

using testing_support::readFile;
using testing_support::ScopedEnvironment;

namespace {

CatalogSettings settingsFor(const MadeUpApplications& tree)
{
    return { QStringList { tree.dataHome() } + tree.dataDirs(), MadeUpApplications::locale(),
        { MadeUpApplications::desktop() }, { tree.bin() } };
}

// Field `field` of gadget `n` of a menu file's lines.
QString field(const QList<QByteArray>& lines, int n, int field)
{
    return QString::fromUtf8(lines[menufile::gadgetLine(n, field) - 1]);
}

QColor storedColour(const QString& value)
{
    const int v = value.toInt();
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

// Every file below `folder` with its bytes.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, readFile(path));
    }
    return files;
}

class MenuMaker : public WindowsFixture {
protected:
    appmenus::MadeMenus make(const QString& folder)
    {
        const IconLookup icons(settingsFor(tree).dataFolders, QStringLiteral("hicolor"));
        return appmenus::writeMenus(folder, installedApplications(settingsFor(tree)), &icons);
    }

    MadeUpApplications tree;
};

TEST_F(MenuMaker, TheCatalogueShowsWhatADesktopMenuWouldShow)
{
    QStringList names;
    for (const Application& app : installedApplications(settingsFor(tree)))
        names.append(app.name);
    names.sort();
    QStringList expected = MadeUpApplications::visibleNames();
    expected.sort();
    EXPECT_EQ(names, expected);
}

TEST_F(MenuMaker, EntriesThatAreNoSmallRegularFilesAreSkippedWithoutWaitingOrFillingMemory)
{
    const QString apps = tree.dataHome() + "/applications/";
    ASSERT_TRUE(QFile::link("/dev/zero", apps + "zero.desktop"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(apps + "fifo.desktop").constData(), 0644), 0);
    testing_support::writeFile(apps + "large.desktop",
        "[Desktop Entry]\nType=Application\nName=Large\nExec=kavro-recorder\n#" + QByteArray(1 << 20, 'x') + "\n");
    QStringList expected = MadeUpApplications::visibleNames();
    expected.sort();
    EXPECT_EQ(testing_support::runInChild([&] {
        QStringList names;
        for (const Application& app : installedApplications(settingsFor(tree)))
            names.append(app.name);
        names.sort();
        return names == expected;
    }),
        testing_support::ChildResult::Passed);
}

TEST_F(MenuMaker, ApplicationsAreGroupedByTheirFirstMainCategory)
{
    const struct {
        QStringList categories;
        int column;
    } cases[] = {
        { { "Network", "WebBrowser" }, 0 },
        { { "Office" }, 0 },
        { { "2DGraphics", "Graphics" }, 1 },
        { { "AudioVideo", "Audio" }, 1 },
        { { "Game" }, 1 },
        { { "Development", "Network" }, 2 }, // the first main category decides
        { { "Education", "Science" }, 2 },
        { { "Settings" }, 3 },
        { { "Utility", "Calculator" }, 3 },
        { { "Calculator" }, 3 }, // no main category at all
        { {}, 3 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(appmenus::columnOf(c.categories), c.column) << c.categories.join(u';').toStdString();
}

TEST_F(MenuMaker, TheMenusLoadAndApplyWithoutAnErrorAndShowTheApplications)
{
    const appmenus::MadeMenus made = make(path(""));
    EXPECT_EQ(made.applications, 33);
    EXPECT_EQ(made.pictures, 6);
    ASSERT_EQ(made.menus, QStringList({ path("ConFigs/Main.ini"), path("ConFigs/Internet-2.ini") }));
    for (const QString& menu : made.menus)
        EXPECT_EQ(platform::readAllTextLines(menu).size(), menufile::LineCount) << menu.toStdString();

    start({}); // the launcher screen loads and applies the made Main.ini
    TMainForm& launcher = *qobject_cast<TMainForm*>(session().MainForm);
    EXPECT_TRUE(dialogs_.boxes.empty());
    const QStringList titles { "Internet & Office", "Graphics & Media", "Development & Science", "System & Utilities" };
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(launcher.ColumnTitles[size_t(c)]->Caption(), titles[c - 1]);
    // Column 1 has 21 applications: 13, then "More …" to the rest.
    EXPECT_EQ(launcher.Gadgets[1]->Caption(), "Net App 01");
    EXPECT_EQ(launcher.Gadgets[13]->Caption(), "Net App 13");
    EXPECT_EQ(launcher.Gadgets[14]->Caption(), QString::fromUtf8("More …"));
    const QStringList column2 { "Painter", "Player", "Try Exec Found", "Vendor Tool" };
    for (int r = 0; r < column2.size(); ++r)
        EXPECT_EQ(launcher.Gadgets[size_t(15 + r)]->Caption(), column2[r]);
    EXPECT_EQ(launcher.Gadgets[19]->Caption(), "");
    const QStringList column4 { "My Editor", "Plain Tool", "Rechner", "Terminal Tool",
        QString::fromUtf8("Unicode Ümläut"), "Xfce Only" };
    for (int r = 0; r < column4.size(); ++r)
        EXPECT_EQ(launcher.Gadgets[size_t(43 + r)]->Caption(), column4[r]);
    EXPECT_FALSE(launcher.Gadgets[1]->Glyph().Empty());
    EXPECT_TRUE(launcher.Gadgets[2]->Glyph().Empty());

    // "More …" opens the further page, whose "Back" returns.
    launcher.ActivateGadget(menufile::gadgetLine(14, menufile::StartMode));
    EXPECT_TRUE(dialogs_.boxes.empty());
    EXPECT_EQ(session().Menu.MenuFileName, path("ConFigs/Internet-2.ini"));
    EXPECT_EQ(launcher.Gadgets[1]->Caption(), "Back");
    EXPECT_EQ(launcher.Gadgets[2]->Caption(), "Net App 14");
    EXPECT_EQ(launcher.Gadgets[9]->Caption(), "Quoted");
    EXPECT_EQ(launcher.ColumnTitles[1]->Caption(), "Internet & Office");
    EXPECT_EQ(launcher.ColumnTitles[2]->Caption(), "");
    // A gadget starts its application's command line.
    ScopedEnvironment searchPath("PATH", (tree.bin() + ":/usr/bin:/bin").toUtf8());
    ScopedEnvironment home("HOME", tree.home().toUtf8());
    ScopedEnvironment record("KAVRO_RECORD", tree.recordFile().toUtf8());
    launcher.ActivateGadget(menufile::gadgetLine(9, menufile::StartMode));
    ASSERT_TRUE(testing_support::waitUntil([&] { return QFileInfo::exists(tree.recordFile()); }, 10000));
    EXPECT_EQ(MadeUpApplications::readRecord(tree.recordFile()).arguments,
        QStringList({ "--open", "two words", "say \"hi\"", "100%", "it's" }));
    launcher.ActivateGadget(menufile::gadgetLine(1, menufile::StartMode));
    EXPECT_EQ(session().Menu.MenuFileName, path("ConFigs/Main.ini"));
}

TEST_F(MenuMaker, EachLauncherRunsItsApplicationsCommandLineInItsFolder)
{
    make(path(""));
    const QList<QByteArray> lines = platform::readTextLines(path("ConFigs/Main.ini"), menufile::LineCount);
    const struct {
        int gadget;
        QString folder;
        QString program;
        QStringList arguments;
    } cases[] = {
        { 5, tree.home(), "kavro-recorder", { "net", "05" } },
        { 43, tree.home(), "kavro-recorder", { "my-editor" } }, // the user's entry overrides the system's
        { 45, tree.home(), "kavro-recorder", { "calc" } },
        { 46, tree.home(), "x-terminal-emulator", { "-e", "kavro-recorder", "top", "-d", "1" } },
        { 30, tree.workFolder(), "kavro-recorder", { "pwd" } },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(field(lines, c.gadget, menufile::StartMode), "Run");
        const QString launcher = field(lines, c.gadget, menufile::FilesPath);
        EXPECT_TRUE(launcher.startsWith(path("Launchers/"))) << launcher.toStdString();
        EXPECT_TRUE(readFile(launcher).startsWith("#!/bin/sh\n"));
        const MadeUpApplications::Run run = tree.runLauncher(launcher);
        EXPECT_EQ(run.folder, c.folder) << c.gadget;
        EXPECT_EQ(run.program, c.program) << c.gadget;
        EXPECT_EQ(run.arguments, c.arguments) << c.gadget;
    }
}

TEST_F(MenuMaker, PicturesAreSmallBitmapsOnTheGadgetsFaceColour)
{
    make(path(""));
    QList<QList<QByteArray>> menus;
    for (const QString& file : { path("ConFigs/Main.ini"), path("ConFigs/Internet-2.ini") })
        menus.append(platform::readTextLines(file, menufile::LineCount));
    int checked = 0;
    for (const QList<QByteArray>& lines : menus) {
        for (int n = 1; n <= menufile::GadgetCount; ++n) {
            const QString name = field(lines, n, menufile::GadgetName);
            const QString picture = field(lines, n, menufile::GraphicPath);
            const QColor icon = MadeUpApplications::iconColour(name);
            if (!icon.isValid()) {
                EXPECT_EQ(picture, "") << name.toStdString();
                EXPECT_EQ(field(lines, n, menufile::GraphicSide), "2") << name.toStdString();
                continue;
            }
            ++checked;
            EXPECT_EQ(field(lines, n, menufile::GraphicSide), "0") << name.toStdString();
            const QByteArray bytes = readFile(picture);
            ASSERT_GE(bytes.size(), 54) << name.toStdString();
            EXPECT_EQ(bytes.left(2), "BM");
            EXPECT_EQ(int(bytes[28]), 24) << "bits per pixel of " << name.toStdString();
            const QImage image = platform::loadBitmapFile(picture);
            EXPECT_LE(image.width(), 24);
            EXPECT_EQ(image.width(), image.height());
            const QColor face = storedColour(field(lines, n, menufile::BackColor));
            EXPECT_EQ(image.pixelColor(0, image.height() - 1), face) << name.toStdString();
            EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), icon) << name.toStdString();
        }
    }
    EXPECT_EQ(checked, 6);
}

TEST_F(MenuMaker, AThemeTheFoldersDoNotHoldStillFindsTheHicolorIcons)
{
    // The desktop's theme (as a desktop session names one) or the one asked for.
    const struct {
        const char* desktopTheme;
        const char* theme;
    } cases[] = { { "Adwaita", "" }, { "", "no-such-theme" } };
    const QString before = QIcon::themeName();
    for (const auto& c : cases) {
        QIcon::setThemeName(QLatin1String(c.desktopTheme));
        {
            const IconLookup icons(settingsFor(tree).dataFolders, QLatin1String(c.theme));
            EXPECT_FALSE(icons.find("red-icon", 16).isNull()) << c.desktopTheme << c.theme;
            EXPECT_FALSE(icons.find("green-icon", 16).isNull()) << c.desktopTheme << c.theme;
        }
        EXPECT_EQ(QIcon::themeName(), QLatin1String(c.desktopTheme));
    }
    QIcon::setThemeName(before);
}

TEST_F(MenuMaker, AThemesBitmapAtLeastThePicturesSizeStandsForItsScalableIcon)
{
    const IconLookup icons(settingsFor(tree).dataFolders, QStringLiteral("hicolor"));
    const QImage icon = icons.find("two-kinds", 16);
    ASSERT_EQ(icon.size(), QSize(16, 16));
    EXPECT_EQ(icon.pixelColor(8, 8), QColor(0, 0, 255));
    // Where the theme has no bitmap that large, the scalable icon.
    EXPECT_EQ(icons.find("two-kinds", 64).pixelColor(32, 32), QColor(255, 255, 0));
}

TEST_F(MenuMaker, ADroppedEntryProgramDocumentFolderOrAddressMakesALauncherAndPictureAsTheMakerWould)
{
    ASSERT_TRUE(QFile::link(tree.bin() + "/kavro-recorder", tree.bin() + "/xdg-open"));
    const QString icons = tree.dataDirs()[0] + "/icons/hicolor/16x16/apps/";
    ASSERT_TRUE(QFile::copy(icons + "red-icon.png", icons + "folder.png"));
    const QString document = tree.root() + "/notes.txt";
    testing_support::writeFile(document, "text");
    const QString apps = tree.dataDirs()[0] + "/applications/";
    const struct {
        QUrl url;
        QString caption; // empty: no gadget
        QString folder;
        QString program;
        QStringList arguments;
        bool picture;
    } cases[] = {
        { QUrl::fromLocalFile(apps + "workdir.desktop"), "Work Folder", tree.workFolder(), "kavro-recorder", { "pwd" },
            true },
        { QUrl::fromLocalFile(apps + "link.desktop"), "A Link", tree.home(), "xdg-open", { "https://example.org/" },
            false },
        { QUrl::fromLocalFile(tree.bin() + "/kavro-recorder"), "kavro-recorder", tree.bin(), "kavro-recorder", {},
            false },
        { QUrl::fromLocalFile(document), "notes.txt", tree.home(), "xdg-open", { document }, false },
        { QUrl::fromLocalFile(tree.workFolder()), "work folder", tree.home(), "xdg-open", { tree.workFolder() }, true },
        { QUrl("https://example.org/docs/page.html"), "page.html", tree.home(), "xdg-open",
            { "https://example.org/docs/page.html" }, false },
        { QUrl::fromLocalFile(apps + "missing-program.desktop"), {}, {}, {}, {}, false },
        { QUrl::fromLocalFile(tree.root() + "/not-there.txt"), {}, {}, {}, {}, false },
    };
    for (const auto& c : cases) {
        const std::optional<GadgetFill> fill = droppedGadget(c.url, path(""), QColor(1, 2, 3), settingsFor(tree));
        ASSERT_EQ(fill.has_value(), !c.caption.isEmpty()) << c.url.toString().toStdString();
        if (!fill)
            continue;
        EXPECT_EQ(fill->caption, c.caption);
        EXPECT_TRUE(fill->launcher.path.startsWith(path("Launchers/"))) << fill->launcher.path.toStdString();
        EXPECT_FALSE(QFileInfo::exists(fill->launcher.path)); // written when the gadget is saved
        fill->launcher.write();
        const MadeUpApplications::Run run = tree.runLauncher(fill->launcher.path);
        EXPECT_EQ(run.folder, c.folder) << c.caption.toStdString();
        EXPECT_EQ(run.program, c.program) << c.caption.toStdString();
        EXPECT_EQ(run.arguments, c.arguments) << c.caption.toStdString();
        ASSERT_EQ(fill->picture.has_value(), c.picture) << c.caption.toStdString();
        if (c.picture) {
            EXPECT_TRUE(fill->picture->path.startsWith(path("Pictures/")));
            EXPECT_EQ(platform::decodeBitmap(fill->picture->content).pixelColor(0, 17), QColor(1, 2, 3));
        }
    }
    // A name another file holds is not taken; the same launcher again is.
    testing_support::writeFile(path("Launchers/notes.txt.sh"), "other");
    EXPECT_EQ(droppedGadget(QUrl::fromLocalFile(document), path(""), Qt::gray, settingsFor(tree))->launcher.path,
        path("Launchers/notes.txt-2.sh"));
}

TEST_F(MenuMaker, FacesComeFromEachColumnsPaletteWithReadableCaptions)
{
    make(path(""));
    const QList<QByteArray> lines = platform::readTextLines(path("ConFigs/Main.ini"), menufile::LineCount);
    for (int n = 1; n <= menufile::GadgetCount; ++n) {
        if (field(lines, n, menufile::StartMode) != "Run")
            continue;
        const QColor face = storedColour(field(lines, n, menufile::BackColor));
        const QColor caption = storedColour(field(lines, n, menufile::FontColor));
        const auto luminance = [](QColor c) { return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue(); };
        EXPECT_GT(std::abs(luminance(face) - luminance(caption)), 100) << "gadget " << n;
    }
    // Neighbours in a column differ.
    EXPECT_NE(field(lines, 1, menufile::BackColor), field(lines, 2, menufile::BackColor));
}

TEST_F(MenuMaker, TheSameApplicationsGiveTheSameFilesAndNothingIsWrittenOutsideTheFolder)
{
    const QString outside = tree.root() + "/outside.txt";
    testing_support::writeFile(outside, "keep");
    QDir().mkpath(path("Launchers"));
    ASSERT_TRUE(QFile::link(outside, path("Launchers/net-01.sh")));
    make(path(""));
    EXPECT_EQ(readFile(outside), "keep");
    EXPECT_FALSE(QFileInfo(path("Launchers/net-01.sh")).isSymLink());
    const QMap<QString, QByteArray> first = snapshot(path(""));

    // Again, with the applications in the opposite order.
    QList<Application> apps = installedApplications(settingsFor(tree));
    std::reverse(apps.begin(), apps.end());
    const IconLookup icons(settingsFor(tree).dataFolders, QStringLiteral("hicolor"));
    EXPECT_EQ(appmenus::writeMenus(path(""), apps, &icons).changed, QStringList());
    EXPECT_EQ(snapshot(path("")), first);
    for (const QString& file : first.keys())
        EXPECT_TRUE(file.startsWith(path("ConFigs/")) || file.startsWith(path("Launchers/"))
            || file.startsWith(path("Pictures/")))
            << file.toStdString();

    // A picture written anew changes the page that shows it, whose text stays as it was.
    testing_support::writeFile(path("Pictures/net-01.bmp"), "spoilt");
    QStringList showing;
    for (const QString& file : first.keys())
        if (file.endsWith(".ini") && first[file].contains("\r\n" + path("Pictures/net-01.bmp").toLocal8Bit() + "\r\n"))
            showing.append(file);
    ASSERT_EQ(showing.size(), 1);
    EXPECT_EQ(appmenus::writeMenus(path(""), apps, &icons).changed, showing);
    EXPECT_EQ(snapshot(path("")), first);
}

TEST_F(MenuMaker, ALongColumnGoesOnOverFurtherPagesEachWithBackAndMore)
{
    QList<Application> apps;
    for (int n = 1; n <= 130; ++n)
        apps.append({ QStringLiteral("app%1.desktop").arg(n), QStringLiteral("App %1").arg(n, 3, 10, QLatin1Char('0')),
            { "true" }, {}, {}, { "Development" } });
    apps.append({ "odd.desktop", "Odd\x1a\rName", { "true" }, {}, {}, { "Utility" } });
    const appmenus::MadeMenus made = appmenus::writeMenus(path(""), apps, nullptr);
    // 13 on the main menu, 54 on pages 2 and 3 beside "Back" and "More …", the last 9 on page 4.
    ASSERT_EQ(made.menus.size(), 4);
    const QString main = path("ConFigs/Main.ini");
    QList<QList<QByteArray>> pages;
    for (const QString& file : made.menus)
        pages.append(platform::readTextLines(file, menufile::LineCount));
    EXPECT_EQ(field(pages[0], 42, menufile::FilesPath), made.menus[1]);
    EXPECT_EQ(field(pages[0], 41, menufile::GadgetName), "App 013");
    // Control characters would break the menu's lines.
    EXPECT_EQ(field(pages[0], 43, menufile::GadgetName), "Odd  Name");
    const struct {
        int page;
        QString back;
        QString firstApp;
        QString lastApp;
        int lastAppGadget;
        QString more;
    } cases[] = {
        { 1, main, "App 014", "App 067", 55, made.menus[2] },
        { 2, made.menus[1], "App 068", "App 121", 55, made.menus[3] },
        { 3, made.menus[2], "App 122", "App 130", 10, {} },
    };
    for (const auto& c : cases) {
        const QList<QByteArray>& lines = pages[c.page];
        EXPECT_EQ(field(lines, 1, menufile::GadgetName), "Back");
        EXPECT_EQ(field(lines, 1, menufile::FilesPath), c.back);
        EXPECT_EQ(field(lines, 2, menufile::GadgetName), c.firstApp);
        EXPECT_EQ(field(lines, c.lastAppGadget, menufile::GadgetName), c.lastApp);
        if (!c.more.isEmpty()) {
            EXPECT_EQ(field(lines, 56, menufile::StartMode), "Menu");
            EXPECT_EQ(field(lines, 56, menufile::FilesPath), c.more);
        }
    }
    EXPECT_EQ(field(pages[3], 11, menufile::StartMode), "None");
    EXPECT_EQ(field(pages[3], 56, menufile::StartMode), "None");
    for (const QString& file : made.menus)
        EXPECT_EQ(platform::readAllTextLines(file).size(), menufile::LineCount);
}

} // namespace
