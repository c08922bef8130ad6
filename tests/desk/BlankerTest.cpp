// The screen blanker: its window, and what takes it away.
#include "desk/Blanker.h"

#include "platform/Screen.h"
#include "platform/WindowSystem.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using testing_support::waitUntil;

class Blanker : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::setScreenSizeForTesting(QSize(1280, 1024));
        form3 = std::make_unique<TForm3>();
    }

    void TearDown() override
    {
        form3.reset();
        platform::setScreenSizeForTesting(std::nullopt);
        platform::setDesktopRectForTesting(std::nullopt);
    }

    // A mouse-move message at `at`, in window pixels.
    void moveTo(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, form3->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form3.get(), &move);
    }

    void showAndRest(QPoint at)
    {
        form3->showAndRaise();
        moveTo(at);
        ASSERT_TRUE(form3->isVisible());
        ASSERT_EQ(form3->LastMousePosition(), at);
    }

    std::unique_ptr<TForm3> form3;
};

TEST_F(Blanker, IsABlackBorderlessTopmostWindowOverTheScreenAsItWasAtCreation)
{
    platform::setScreenSizeForTesting(QSize(800, 600));
    EXPECT_EQ(form3->geometry(), QRect(0, 0, 1280, 1024));
    EXPECT_TRUE(form3->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form3->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form3->cursor().shape(), Qt::BlankCursor);
    EXPECT_FALSE(form3->isVisible());
    form3->showAndRaise();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form3.get()));
    const QImage shown = form3->grab(QRect(0, 0, 50, 50)).toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(49, 49), QColor(Qt::black));
}

TEST_F(Blanker, FirstMoveRecordsTheRestingPlaceAndAOnePixelMoveCloses)
{
    showAndRest(QPoint(100, 100));
    moveTo(QPoint(100, 100));
    EXPECT_TRUE(form3->isVisible());
    moveTo(QPoint(100, 101));
    EXPECT_FALSE(form3->isVisible());
}

TEST_F(Blanker, AnyKeyOrButtonCloses)
{
    const std::vector<std::pair<const char*, std::function<void(QWidget*)>>> triggers = {
        { "letter key", [](QWidget* w) { QTest::keyClick(w, Qt::Key_A); } },
        { "shift key", [](QWidget* w) { QTest::keyPress(w, Qt::Key_Shift); } },
        { "left button", [](QWidget* w) { QTest::mousePress(w, Qt::LeftButton, {}, QPoint(100, 100)); } },
        { "right button", [](QWidget* w) { QTest::mousePress(w, Qt::RightButton, {}, QPoint(100, 100)); } },
        { "click", [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(100, 100)); } },
    };
    for (const auto& [name, trigger] : triggers) {
        showAndRest(QPoint(100, 100));
        ASSERT_TRUE(QTest::qWaitForWindowActive(form3.get())) << name;
        // Keys reach it: it has the keyboard focus once shown.
        QWidget* focused = QApplication::focusWidget();
        EXPECT_EQ(focused, form3.get()) << name;
        trigger(focused ? focused : form3.get());
        EXPECT_FALSE(form3->isVisible()) << name;
    }
}

TEST_F(Blanker, ShowingAgainWaitsForANewRestingPlace)
{
    showAndRest(QPoint(100, 100));
    moveTo(QPoint(101, 100));
    ASSERT_FALSE(form3->isVisible());
    form3->showAndRaise();
    EXPECT_EQ(form3->LastMousePosition(), QPoint(-1, -1));
    moveTo(QPoint(300, 200));
    EXPECT_TRUE(form3->isVisible());
    moveTo(QPoint(300, 199));
    EXPECT_FALSE(form3->isVisible());
}

TEST_F(Blanker, WithoutAMoveMessageTheCursorPlaceAtShowingIsTheRestingPlace)
{
    QCursor::setPos(QPoint(200, 150));
    const QPoint resting = QPoint(200, 150) - form3->mapToGlobal(QPoint(0, 0));
    form3->showAndRaise();
    ASSERT_TRUE(waitUntil([&] { return form3->LastMousePosition() != QPoint(-1, -1); }));
    EXPECT_EQ(form3->LastMousePosition(), resting);
    moveTo(resting);
    EXPECT_TRUE(form3->isVisible());
    moveTo(resting + QPoint(1, 0));
    EXPECT_FALSE(form3->isVisible());
}

TEST_F(Blanker, CoversEveryScreenOfTheDesktop)
{
    // A second screen left of the primary one, and taller.
    platform::setDesktopRectForTesting(QRect(-1280, -200, 2560, 1224));
    TForm3 blanker;
    EXPECT_EQ(blanker.geometry(), QRect(-1280, -200, 2560, 1224));
}

TEST_F(Blanker, WhereWindowsCannotBePlacedItIsFullScreenToCoverTheWholeOutput)
{
    for (const bool placeable : { true, false }) {
        platform::setWindowsPlaceableForTesting(placeable);
        TForm3 blanker;
        EXPECT_EQ(blanker.windowState().testFlag(Qt::WindowFullScreen), !placeable) << placeable;
    }
    platform::setWindowsPlaceableForTesting(std::nullopt);
}
