// The control box's place across starts, "Exit", a close by the window
// manager and "Always on Top".
#include "desk/Scrollpas.h"
#include "desk/TopMost.h"
#include "desk/position.h"
#include "platform/FilePaths.h"
#include "platform/Screen.h"
#include "platform/WindowSystem.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

using testing_support::readFile;
using testing_support::RecordingDialogs;
using testing_support::writeFile;

namespace {

constexpr int loopEndedByProgram = 0;
constexpr int loopRanOn = 42;

// Runs the event loop and does `action` at its first turn. Returns 0 when
// the program asked for its end, 42 when the loop was still running after a while.
int runEventLoopWith(const std::function<void()>& action)
{
    QTimer start;
    start.setSingleShot(true);
    QObject::connect(&start, &QTimer::timeout, action);
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, [] { QCoreApplication::exit(loopRanOn); });
    start.start(0);
    stop.start(700);
    const int result = QCoreApplication::exec();
    // Requests still queued are spent here, outside any loop, so none reaches the next test.
    QCoreApplication::processEvents();
    return result;
}

class ControlBoxPlaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        platform::setProgramFilePathForTesting(folder.filePath(QStringLiteral("KavroStart")));
        platform::setScreenSizeForTesting(QSize(1024, 768));
    }
    void TearDown() override
    {
        platform::setProgramFilePathForTesting(std::nullopt);
        platform::setScreenSizeForTesting(std::nullopt);
    }

    QString prefsPath() const { return folder.filePath(QStringLiteral("k-prefs.ini")); }

    QTemporaryDir folder;
    RecordingDialogs boxes;
};

TEST_F(ControlBoxPlaceTest, WithNothingSavedTheBoxIsCentredByItsDesignSizeThenFoldedKeepingItsLeftEdge)
{
    TForm1 box;
    EXPECT_EQ(box.Position1->IniFileName(), QStringLiteral("k-prefs.ini"));
    EXPECT_EQ(box.pos(), QPoint(447, 350));
    EXPECT_EQ(box.size(), QSize(TForm1::FoldedWidth, 67));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ControlBoxPlaceTest, ASavedPlaceComesBackFoldedAtTheSavedHeightWhollyOnTheScreen)
{
    writeFile(prefsPath(), "[Values]\r\nWidth=132\r\nHeight=0x50\r\nLeft=-20\r\nTop=5000\r\n");
    TForm1 box;
    EXPECT_EQ(box.pos(), QPoint(0, 768 - 80));
    EXPECT_EQ(box.size(), QSize(TForm1::FoldedWidth, 80));
}

TEST_F(ControlBoxPlaceTest, ExitWritesTheFourKeysInOrderThenEndsTheProgram)
{
    TForm1 box;
    box.move(217, 143);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.Unfold();
    EXPECT_EQ(runEventLoopWith([&box] { box.Exit1->trigger(); }), loopEndedByProgram);
    EXPECT_EQ(readFile(prefsPath()), QByteArray("[Values]\r\nWidth=132\r\nHeight=67\r\nLeft=217\r\nTop=143\r\n"));
    EXPECT_TRUE(boxes.boxes.empty());

    // The next start comes up folded at the saved place.
    TForm1 next;
    EXPECT_EQ(QRect(next.pos(), next.size()), QRect(217, 143, TForm1::FoldedWidth, 67));
}

TEST_F(ControlBoxPlaceTest, ACloseByTheWindowManagerEndsTheProgramWithoutSaving)
{
    writeFile(prefsPath(), "[Values]\r\nLeft=5\r\nTop=6\r\n");
    TForm1 box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.move(300, 300);
    EXPECT_EQ(runEventLoopWith([&box] { box.close(); }), loopEndedByProgram);
    EXPECT_EQ(readFile(prefsPath()), QByteArray("[Values]\r\nLeft=5\r\nTop=6\r\n"));
}

TEST_F(ControlBoxPlaceTest, AnUnwritablePositionFileStopsExitWithTheErrorAndTheProgramGoesOn)
{
    // Neither the program's folder nor the user's configuration folder can take the file.
    writeFile(folder.filePath(QStringLiteral("blocked")), "not a folder");
    platform::setProgramFilePathForTesting(folder.filePath(QStringLiteral("blocked/KavroStart")));
    testing_support::ScopedEnvironment config("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("blocked")).toUtf8());
    TForm1 box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(runEventLoopWith([&box] { box.Exit1->trigger(); }), loopRanOn);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, QStringLiteral("error"));
    EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Kavro Start"));
    EXPECT_EQ(boxes.boxes[0].text,
        QStringLiteral("Unable to write to %1.")
            .arg(folder.filePath(QStringLiteral("blocked/kavro-start/k-prefs.ini"))));
    EXPECT_TRUE(box.isVisible());
}

TEST_F(ControlBoxPlaceTest, AlwaysOnTopStartsCheckedAndEachClickSwitchesTheBoxKeepingItShownInPlace)
{
    TForm1 box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QRect place = box.geometry();
    EXPECT_TRUE(box.AlwaysonTop1->isChecked());
    EXPECT_TRUE(box.TopMost1->TopMost());
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    for (const bool expected : { false, true, false }) {
        box.AlwaysonTop1->trigger();
        EXPECT_EQ(box.AlwaysonTop1->isChecked(), expected);
        EXPECT_EQ(box.TopMost1->TopMost(), expected);
        EXPECT_EQ(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint), expected);
        EXPECT_TRUE(box.isVisible());
        EXPECT_EQ(box.geometry(), place);
    }
}

// Where the window system neither places windows nor tells their place (Wayland).
TEST_F(ControlBoxPlaceTest, WhereWindowsCannotBePlacedExitKeepsTheSavedPlaceAndAlwaysOnTopIsOffAndSaysWhy)
{
    platform::setWindowsPlaceableForTesting(false);
    const auto placeable = qScopeGuard([] { platform::setWindowsPlaceableForTesting(std::nullopt); });
    writeFile(prefsPath(), "[Values]\r\nWidth=65\r\nHeight=67\r\nLeft=3000\r\nTop=200\r\n");
    TForm1 box;
    EXPECT_FALSE(box.AlwaysonTop1->isChecked());
    EXPECT_FALSE(box.AlwaysonTop1->isEnabled());
    EXPECT_EQ(box.AlwaysonTop1->toolTip(), platform::stayOnTopUnavailableHint());
    EXPECT_TRUE(box.PopupMenu1->toolTipsVisible());
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.move(0, 0);
    box.Unfold();
    EXPECT_EQ(runEventLoopWith([&box] { box.Exit1->trigger(); }), loopEndedByProgram);
    EXPECT_EQ(readFile(prefsPath()), QByteArray("[Values]\r\nWidth=132\r\nHeight=67\r\nLeft=3000\r\nTop=200\r\n"));
}

} // namespace
