// The control box: folding, its buttons, the note program and dragging.
#include "controls/Colorbut.h"
#include "controls/Panel.h"
#include "controls/TikClock.h"
#include "desk/Scrollpas.h"
#include "launcher/myver.h"
#include "planner/Planner.h"
#include "platform/FilePaths.h"
#include "support/WindowsFixture.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QTest>

using testing_support::sampleMenuLines;
using testing_support::waitUntil;

namespace {

class ControlBox : public WindowsFixture {
protected:
    TForm1& box() { return *qobject_cast<TForm1*>(session().Form1); }
};

// Records every width the window takes.
class WidthRecorder final : public QObject {
public:
    explicit WidthRecorder(QWidget* window) { window->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            widths.push_back(static_cast<QWidget*>(watched)->width());
        return false;
    }
    std::vector<int> widths;
};

TEST_F(ControlBox, AClickOnTheClockUnfoldsInSixtyEightStepsAndTheNextFoldsIn)
{
    start(sampleMenuLines());
    box().show();
    const QPoint place = box().pos();
    WidthRecorder recorder(&box());
    QTest::mouseClick(box().TickingClock1, Qt::LeftButton);
    EXPECT_TRUE(box().Unfolded());
    EXPECT_EQ(box().width(), 132);
    std::vector<int> expected;
    for (int w = 66; w <= 132; ++w)
        expected.push_back(w);
    EXPECT_EQ(recorder.widths, expected); // 65 is where it starts: 68 widths in all
    QTest::mouseClick(box().Panel1, Qt::LeftButton, Qt::NoModifier, QPoint(30, 2));
    EXPECT_FALSE(box().Unfolded());
    EXPECT_EQ(box().width(), 65);
    EXPECT_EQ(box().pos(), place);
}

TEST_F(ControlBox, EachButtonFoldsInThenActs)
{
    start(sampleMenuLines());
    box().show();
    box().Unfold();
    QTest::mouseClick(box().ColorSpeedButton5, Qt::LeftButton);
    EXPECT_EQ(box().width(), 65);
    EXPECT_TRUE(session().MainFormer->isVisible());
    EXPECT_FALSE(box().isVisible());
    session().MainFormer->close();
    EXPECT_TRUE(box().isVisible());

    box().Unfold();
    QTest::mouseClick(box().ColorSpeedButton3, Qt::LeftButton);
    EXPECT_TRUE(session().MainForm->isVisible());
    EXPECT_FALSE(box().isVisible());
}

TEST_F(ControlBox, PinNotesStartsTheNoteProgramOrSaysWhereItShouldBe)
{
    start(sampleMenuLines());
    box().Unfold();
    QTest::mouseClick(box().ColorSpeedButton4, Qt::LeftButton);
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].caption, "Kavro Start, Reporting!");
    EXPECT_EQ(dialogs_.boxes[0].text, "I Can`t find PinNotes.Exe File, It should be in the same Dir as KavroStart.!");

    // Beside the program file, as an installed copy keeps it.
    const QString installed = writeRecorderScript("usr/bin/PinNotes");
    platform::setProgramFilePathForTesting(path("usr/bin/KavroStart"));
    box().Unfold();
    QTest::mouseClick(box().ColorSpeedButton4, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(installed + ".ran"); }));

    // The start folder's own note program comes first.
    const QString notes = writeRecorderScript("PinNotes");
    box().Unfold();
    QTest::mouseClick(box().ColorSpeedButton4, Qt::LeftButton);
    platform::setProgramFilePathForTesting(std::nullopt);
    EXPECT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(notes + ".ran"); }));
}

TEST_F(ControlBox, APressOnTheBareStripDragsTheWindowInsteadOfClicking)
{
    start(sampleMenuLines());
    box().move(300, 200);
    box().show();
    QTest::mousePress(&box(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 3));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 15), box().mapToGlobal(QPointF(40, 15)), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&box(), &move);
    QTest::mouseRelease(&box(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 15));
    EXPECT_EQ(box().pos(), QPoint(310, 212));
    EXPECT_FALSE(box().Unfolded());
}

} // namespace

namespace {

TEST_F(ControlBox, ARightClickAnywhereOnTheBoxOpensItsMenu)
{
    start(sampleMenuLines());
    box().show();
    box().Unfold();
    for (QWidget* target : std::initializer_list<QWidget*> {
             box().TickingClock1, box().Panel1, box().Panel2, box().ColorSpeedButton3, &box() }) {
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(target, &menuEvent);
        EXPECT_TRUE(box().PopupMenu1->isVisible()) << target->metaObject()->className();
        box().PopupMenu1->hide();
    }
    EXPECT_EQ(box().PopupMenu1->actions().size(), 3);
    EXPECT_TRUE(box().AlwaysonTop1->isChecked());
}

} // namespace
