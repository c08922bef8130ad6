// The control box driven by keys alone.
#include "controls/Colorbut.h"
#include "desk/Scrollpas.h"
#include "support/WindowsFixture.h"

#include <QMenu>
#include <QTest>

using testing_support::sampleMenuLines;

namespace {

class ControlBoxKeys : public WindowsFixture {
protected:
    TForm1& box() { return *qobject_cast<TForm1*>(session().Form1); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
};

TEST_F(ControlBoxKeys, EnterUnfoldsTheBoxTheArrowsReachItsFiveButtonsAndEnterPressesOne)
{
    start(sampleMenuLines());
    box().showAndRaise();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box()));
    const QImage alarmLook = box().ColorSpeedButton1->grab().toImage();
    key(Qt::Key_Return);
    EXPECT_TRUE(box().Unfolded());
    EXPECT_EQ(box().focusWidget(), box().ColorSpeedButton1);
    EXPECT_NE(box().ColorSpeedButton1->grab().toImage(), alarmLook) << "no focus frame";

    const struct {
        Qt::Key key;
        QWidget* focused;
    } steps[] = { { Qt::Key_Right, box().ColorSpeedButton3 }, { Qt::Key_Down, box().ColorSpeedButton4 },
        { Qt::Key_Left, box().ColorSpeedButton2 }, { Qt::Key_Up, box().ColorSpeedButton5 },
        { Qt::Key_Right, box().ColorSpeedButton3 }, { Qt::Key_Left, box().ColorSpeedButton1 }, { Qt::Key_Left, &box() },
        { Qt::Key_Backtab, box().ColorSpeedButton4 }, { Qt::Key_Tab, &box() }, { Qt::Key_Tab, box().ColorSpeedButton1 },
        { Qt::Key_Tab, box().ColorSpeedButton3 } };
    for (const auto& step : steps) {
        key(step.key);
        EXPECT_EQ(box().focusWidget(), step.focused) << step.key;
    }
    key(Qt::Key_Space);
    EXPECT_TRUE(session().MainForm->isVisible());
    EXPECT_FALSE(box().Unfolded());
    session().MainForm->close();
    // Back again, Enter unfolds it once more and Escape folds it in.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box()));
    key(Qt::Key_Return);
    key(Qt::Key_Escape);
    EXPECT_FALSE(box().Unfolded());
    EXPECT_EQ(box().focusWidget(), &box());
}

TEST_F(ControlBoxKeys, TheMenuKeyAndShiftF10OpenTheContextMenu)
{
    start(sampleMenuLines());
    box().showAndRaise();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box()));
    for (const auto& [key, modifiers] :
        { std::pair { Qt::Key_Menu, Qt::NoModifier }, { Qt::Key_F10, Qt::ShiftModifier } }) {
        QTest::keyClick(&box(), key, modifiers);
        EXPECT_TRUE(box().PopupMenu1->isVisible()) << key;
        box().PopupMenu1->hide();
    }
    QTest::keyClick(&box(), Qt::Key_F10);
    EXPECT_FALSE(box().PopupMenu1->isVisible());
}

} // namespace
