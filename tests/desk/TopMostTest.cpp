// Stay-on-top switching keeps the window shown, in place, at its size and the same native window.
#include "desk/TopMost.h"

#include "support/TestSupport.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// Counts the show and hide events a window receives.
class ShowHideCounter final : public QObject {
public:
    int shows = 0;
    int hides = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        if (event->type() == QEvent::Hide)
            ++hides;
        return false;
    }
};

TEST(TopMost, EveryToggleKeepsTheWindowShownInPlaceAndAtItsSize)
{
    QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
    TTopMost topMost(&owner);
    owner.setGeometry(217, 143, 65, 67);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QRect place = owner.geometry();
    for (const bool value : { false, true, false, true }) {
        topMost.setTopMost(value);
        EXPECT_EQ(owner.windowFlags().testFlag(Qt::WindowStaysOnTopHint), value);
        EXPECT_TRUE(owner.isVisible()) << value;
        EXPECT_TRUE(owner.windowHandle() && owner.windowHandle()->isVisible()) << value;
        EXPECT_EQ(owner.geometry(), place) << value;
        EXPECT_TRUE(owner.windowFlags().testFlag(Qt::FramelessWindowHint));
    }
}

TEST(TopMost, SettingTheValueItHasDoesNothing)
{
    QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
    TTopMost topMost(&owner);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QWindow* native = owner.windowHandle();
    ShowHideCounter counter;
    owner.installEventFilter(&counter);
    topMost.setTopMost(true);
    EXPECT_EQ(owner.windowHandle(), native);
    EXPECT_EQ(counter.shows + counter.hides, 0);
}

TEST(TopMost, AChangeKeepsTheNativeWindowWithoutHidingIt)
{
    QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
    TTopMost topMost(&owner);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QWindow* native = owner.windowHandle();
    const WId id = owner.winId();
    ShowHideCounter counter;
    owner.installEventFilter(&counter);
    for (const bool value : { false, true }) {
        topMost.setTopMost(value);
        EXPECT_EQ(owner.windowHandle(), native);
        EXPECT_EQ(owner.winId(), id);
        EXPECT_EQ(native->flags().testFlag(Qt::WindowStaysOnTopHint), value);
        EXPECT_EQ(native->flags(), owner.windowFlags());
    }
    EXPECT_EQ(counter.shows + counter.hides, 0);
}

TEST(TopMost, AHiddenOwnerStaysHidden)
{
    QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
    TTopMost topMost(&owner);
    topMost.setTopMost(false);
    topMost.setTopMost(true);
    EXPECT_FALSE(owner.isVisible());
    EXPECT_TRUE(owner.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

} // namespace
