// The command words of --show: what each asks for, and what the program shows for it.
#include "app/CommandLine.h"

#include "app/Startup.h"
#include "controls/Form.h"
#include "platform/Screen.h"
#include "rtl/TextFile.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

QString showingWindows()
{
    QStringList names;
    for (const QWidget* window : programWindows())
        if (window->isVisible())
            names.append(window->objectName());
    return names.join(u' ');
}

TEST(ShowCommand, EachWordShowsWhatItsControlBoxButtonShowsAndAnyOtherWordIsAUsageError)
{
    QTemporaryDir folder;
    writeFile(folder.filePath("ConFigs/Main.ini"), rtl::joinCrLf(testing_support::sampleMenuLines()));
    const testing_support::ScopedCurrentFolder inFolder(folder.path());
    platform::setScreenSizeForTesting(QSize(800, 600));
    const testing_support::RecordingDialogs dialogs;
    resetSession();
    TPreviousInstance probe(QStringLiteral("Kavrostart"), folder.path());
    setPreviousInstance(&probe);
    {
        const Windows windows;
        const struct {
            QStringList words;
            QString shown; // the windows showing afterwards
            QString error; // how the usage error begins
        } cases[] = {
            { { "--show" }, "Form1", "" },
            { { "--show", "launcher" }, "MainForm", "" },
            { { "--show=planner", "-platform", "offscreen" }, "MainFormer", "" },
            { { "--user-folder", "--show", "alarm" }, "Alarm1", "" },
            { { "--show", "--user-folder" }, "Form1", "" },
            { { "--show", "blanker" }, "Form3", "" },
            { { "--show", "notes" }, "", "" }, // no note program here: a message says so
            { { "-platform", "offscreen" }, "", "" },
            { { "--show", "Launcher" }, "", "--show takes box, launcher, planner, alarm, blanker or notes, not" },
            { { "--show", "launcher", "--make-menus", "x" }, "", "--make-menus cannot be combined" },
            { { "--version", "--show" }, "", "--show cannot be combined" },
            { { "--show", "--force" }, "", "--force goes with --make-menus only" },
            { { "--" }, "", "unknown option --" },
        };
        for (const auto& c : cases) {
            const QString words = c.words.join(u' ');
            const CommandLine options(c.words);
            EXPECT_EQ(options.usageError().left(c.error.size()), c.error) << words.toStdString();
            EXPECT_EQ(options.userFolder(), c.words.contains("--user-folder")) << words.toStdString();
            // Hidden last to first: a window going away may bring the control box back.
            const QList<QWidget*> showable = programWindows();
            std::for_each(showable.rbegin(), showable.rend(), [](QWidget* window) { window->hide(); });
            if (options.show()) {
                probe.setShowRequest(*options.show());
                probe.showHeldRequests();
            }
            EXPECT_EQ(showingWindows(), c.shown) << words.toStdString();
        }
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_TRUE(dialogs.boxes[0].text.startsWith("I Can`t find PinNotes.Exe File"));
    }
    setPreviousInstance(nullptr);
    platform::setScreenSizeForTesting(std::nullopt);
    resetSession();
}

// What menus and docks offer beside the program itself.
TEST(ShowCommand, TheDesktopEntrysActionsAskForTheLauncherThePlannerAndTheBlanker)
{
    QStringList shown;
    for (const QByteArray& line : readFile(KAVRO_SOURCE_DIR "/data/kavro-start.desktop").split('\n')) {
        if (!line.startsWith("Exec=KavroStart --user-folder --show"))
            continue;
        const CommandLine options(QString::fromUtf8(line).split(u' ').mid(1));
        EXPECT_EQ(options.usageError(), "") << line.constData();
        shown.append(options.show() ? showWord(*options.show()) : QString());
    }
    EXPECT_EQ(shown, (QStringList { "launcher", "planner", "blanker" }));
}

} // namespace
