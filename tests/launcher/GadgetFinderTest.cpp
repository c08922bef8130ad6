// Finding gadgets by caption, and the menus reachable from the start menu.
#include "launcher/GadgetFinder.h"

#include "launcher/MenuWalk.h"
#include "rtl/TextFile.h"
#include "session/Menu.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using finding::Found;
using finding::GadgetFinder;
using finding::MatchRank;
using testing_support::sampleMenuLines;

namespace {

constexpr auto Start = MatchRank::CaptionStart;
constexpr auto Word = MatchRank::WordStart;
constexpr auto Inside = MatchRank::Inside;

TEST(GadgetFinder, MatchesWithoutCaseAccentsOrAcceleratorsAndRanksCaptionStartsThenWordStartsThenTheRest)
{
    struct Case {
        std::vector<QStringList> menus; // the current menu first
        QString typed;
        std::vector<Found> found;
    };
    const Case cases[] = {
        { { { "Terminal" } }, "TER", { { 0, 1, Start } } },
        { { { "Écran Télé" } }, "tele", { { 0, 1, Word } } },
        { { { "ÉCRAN" } }, "écr", { { 0, 1, Start } } },
        { { { "&File && Co" } }, "file & c", { { 0, 1, Start } } },
        { { { "  Padded" } }, "pad", { { 0, 1, Start } } },
        { { { "7-Zip" } }, "zip", { { 0, 1, Word } } },
        { { { "ﬁle" } }, "fi", { { 0, 1, Start } } },
        { { { "System" } }, "te", { { 0, 1, Inside } } },
        { { { "Terminal", "" } }, "", {} },
        { { { "Terminal" } }, "terminals", {} },
        // A later word start beats an earlier inside match of the same caption.
        { { { "Bitter Tea" } }, "te", { { 0, 1, Word } } },
        // Rank first, then the current menu before the others, then gadget number.
        { { { "System", "Notes Text", "Tetris" }, { "Text Editor", "Kate" }, { "Termite" } }, "te",
            { { 0, 3, Start }, { 1, 1, Start }, { 2, 1, Start }, { 0, 2, Word }, { 0, 1, Inside }, { 1, 2, Inside } } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(GadgetFinder(c.menus).find(c.typed), c.found)
            << c.menus[0].join('|').toStdString() << " / " << c.typed.toStdString();
}

TEST(MenuWalk, ReadsEachReachableMenuOnceAndSkipsMissingAndUnreadableFilesSilently)
{
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
    const auto write = [&](const char* name, const std::vector<std::pair<QByteArray, QByteArray>>& menuGadgets) {
        QList<QByteArray> lines = sampleMenuLines();
        int n = 1;
        for (const auto& [caption, target] : menuGadgets) {
            lines[menufile::gadgetLine(n, menufile::StartMode) - 1] = "Menu";
            lines[menufile::gadgetLine(n, menufile::FilesPath) - 1] = target;
            lines[menufile::gadgetLine(n++, menufile::GadgetName) - 1] = caption;
        }
        testing_support::writeFile(path(name), rtl::joinCrLf(lines));
    };
    testing_support::RecordingDialogs dialogs;
    write("Main.ini",
        { { "Tools", path("tools.ini").toLocal8Bit() }, { "Gone", path("gone.ini").toLocal8Bit() },
            { "Long", path("long.ini").toLocal8Bit() }, { "Folder", path("folder.ini").toLocal8Bit() },
            { "Again", path("TOOLS.INI").toLocal8Bit() } });
    write("tools.ini",
        { { "Back", path("Main.ini").toLocal8Bit() }, { "Self", path("tools.ini").toLocal8Bit() },
            { "Deeper", path("link.ini").toLocal8Bit() } });
    write("deep.ini", {});
    QFile::link(path("deep.ini"), path("link.ini"));
    testing_support::writeFile(path("long.ini"), QByteArray(rtl::maxTextLineLength + 1, 'x'));
    QDir(dir.path()).mkdir("folder.ini");

    const auto menus = finding::reachableMenus(path("Main.ini"));

    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0].path, path("Main.ini"));
    EXPECT_EQ(menus[0].via, "");
    EXPECT_EQ(menus[0].captions.size(), menufile::GadgetCount);
    EXPECT_EQ(menus[0].captions[55], "G56");
    EXPECT_EQ(menus[1].path, path("tools.ini"));
    EXPECT_EQ(menus[1].via, "Tools");
    EXPECT_EQ(menus[1].captions[2], "Deeper");
    EXPECT_EQ(menus[2].path, path("deep.ini"));
    EXPECT_EQ(menus[2].via, "Deeper");
    EXPECT_TRUE(dialogs.boxes.empty());
}

} // namespace
