// Dragging the splitter between two views.
#include "controls/Split32.h"

#include "platform/SystemColors.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// The planner's tree, splitter and list.
class Splitter : public ::testing::Test {
protected:
    Splitter()
    {
        panel.resize(580, 176);
        tree.setGeometry(2, 2, 150, 172);
        list.setGeometry(153, 2, 425, 172);
        splitter.setGeometry(150, 2, 5, 172);
        splitter.setTreeView(&tree);
        splitter.setListView(&list);
    }

    QWidget panel;
    QWidget tree { &panel };
    QWidget list { &panel };
    TSplitter splitter { &panel };
};

} // namespace

TEST_F(Splitter, ADragOf40PixelsMovesItAndResizesBothViewsWithoutLimits)
{
    sendMouse(&splitter, QEvent::MouseButtonPress, { 2, 50 }, Qt::LeftButton);
    EXPECT_TRUE(splitter.Dragging());
    sendMouse(&splitter, QEvent::MouseMove, { 42, 60 }, Qt::LeftButton);
    EXPECT_EQ(splitter.geometry(), QRect(190, 2, 5, 172));
    EXPECT_EQ(tree.geometry(), QRect(2, 2, 190, 172));
    EXPECT_EQ(list.geometry(), QRect(193, 2, 385, 172));
    EXPECT_EQ(splitter.Color(), platform::sysColor(platform::COLOR_HIGHLIGHT));
    // Measured from the splitter, which has moved along: the grab point stays put.
    sendMouse(&splitter, QEvent::MouseMove, { 2, 60 }, Qt::LeftButton);
    EXPECT_EQ(splitter.x(), 190);

    sendMouse(&splitter, QEvent::MouseMove, { -300, 60 }, Qt::LeftButton);
    EXPECT_EQ(tree.width(), 0);
    sendMouse(&splitter, QEvent::MouseButtonRelease, { 0, 60 }, Qt::NoButton);
    EXPECT_FALSE(splitter.Dragging());
    EXPECT_EQ(splitter.Color(), platform::sysColor(platform::COLOR_BTNFACE));
    const int x = splitter.x();
    sendMouse(&splitter, QEvent::MouseMove, { 30, 60 }, Qt::NoButton);
    EXPECT_EQ(splitter.x(), x);
}

TEST_F(Splitter, DraggedPastTheTreeAndBackTheViewsFollowItAgain)
{
    sendMouse(&splitter, QEvent::MouseButtonPress, { 2, 50 }, Qt::LeftButton);
    for (const int x : { -100, -100, 30, 100, 120, 450, -50 }) {
        // The grab point stays under the cursor, wherever the views end.
        const int cursor = splitter.x() + x;
        sendMouse(&splitter, QEvent::MouseMove, { x, 50 }, Qt::LeftButton);
        EXPECT_EQ(splitter.x() + 2, cursor);
        EXPECT_EQ(tree.width(), std::max(0, splitter.x())) << splitter.x();
        EXPECT_EQ(list.x(), splitter.x() + 3);
        EXPECT_EQ(list.x() + list.width(), std::max(578, list.x())) << splitter.x();
    }
    sendMouse(&splitter, QEvent::MouseButtonRelease, { 2, 50 }, Qt::NoButton);
}
