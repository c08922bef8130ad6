// The alarm: its check of the time, the dialog that sets it, and what the
// control box does when it fires.
#include "RecordingSound.h"
#include "controls/UpDown.h"
#include "desk/Blanker.h"
#include "desk/KavroAlarm.h"
#include "desk/MyAlarm1.h"
#include "desk/Scrollpas.h"
#include "platform/Screen.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using testing_support::FixedClock;
using testing_support::RecordingDialogs;
using testing_support::writeFile;

namespace {

QDateTime at(int hour, int minute, int second) { return QDateTime(QDate(2024, 5, 6), QTime(hour, minute, second)); }

} // namespace

TEST(KavroAlarm, FiresAtTheFirstTickWithinTheSetMinuteAtOrAfterTheSetSecond)
{
    struct Case {
        const char* name;
        int hour, minute, second;
        std::vector<QDateTime> ticks;
        std::vector<int> firingTicks;
    };
    const QDateTime nextDay = at(7, 30, 0).addDays(1);
    const std::vector<Case> cases = {
        { "exact second", 7, 30, 0, { at(7, 29, 59), at(7, 30, 0), at(7, 30, 1) }, { 1 } },
        { "skipped second", 7, 30, 0, { at(7, 29, 59), at(7, 30, 1), at(7, 30, 2) }, { 1 } },
        { "whole minute skipped", 7, 30, 0, { at(7, 29, 59), at(7, 31, 0) }, {} },
        { "hours late", 7, 30, 0, { at(8, 30, 5), at(7, 31, 5) }, {} },
        { "set second", 7, 30, 30, { at(7, 30, 29), at(7, 30, 31), at(7, 30, 32) }, { 1 } },
        { "hour 24", 24, 0, 0, { at(0, 0, 0), at(23, 59, 59), at(0, 0, 1) }, {} },
        { "a later day", 7, 30, 0, { at(7, 30, 0), at(7, 31, 0), nextDay }, { 0, 2 } },
    };
    for (const Case& c : cases) {
        // Set at noon: a setting made within its own minute waits for the next time round.
        FixedClock clock(at(12, 0, 0));
        TKavroAlarm alarm(nullptr);
        alarm.setSetHour(c.hour);
        alarm.setSetMin(c.minute);
        alarm.setSetSec(c.second);
        std::vector<int> fired;
        int tick = 0;
        QObject::connect(&alarm, &TKavroAlarm::OnAlarm, [&] { fired.push_back(tick); });
        for (tick = 0; tick < int(c.ticks.size()); ++tick) {
            clock.set(c.ticks[tick]);
            alarm.Tick();
        }
        EXPECT_EQ(fired, c.firingTicks) << c.name;
    }
}

TEST(KavroAlarm, SettersIgnoreOutOfRangeValues)
{
    TKavroAlarm alarm(nullptr);
    EXPECT_FALSE(alarm.Active());
    alarm.setSetHour(5);
    alarm.setSetMin(6);
    alarm.setSetSec(7);
    for (int bad : { -1, 60, 1000 }) {
        alarm.setSetHour(bad);
        alarm.setSetMin(bad);
        alarm.setSetSec(bad);
    }
    alarm.setSetHour(25);
    EXPECT_EQ(alarm.SetHour(), 5);
    EXPECT_EQ(alarm.SetMin(), 6);
    EXPECT_EQ(alarm.SetSec(), 7);
    alarm.setSetHour(24);
    alarm.setSetMin(59);
    alarm.setSetSec(0);
    EXPECT_EQ(alarm.SetHour(), 24);
    EXPECT_EQ(alarm.SetMin(), 59);
    EXPECT_EQ(alarm.SetSec(), 0);
}

// The control box and the alarm dialog as the program has them.
class AlarmDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSession();
        platform::setScreenSizeForTesting(QSize(1024, 768));
        form1 = std::make_unique<TForm1>();
        session().Form1 = form1.get();
        alarm1 = std::make_unique<TAlarm1>();
        session().Alarm1 = alarm1.get();
        alarm1->setAlarm(form1->KavroAlarm1);
        session().StartFolder = folder.path();
        writeFile(folder.path() + QStringLiteral("/ConFigs/Alarm.wav"), "RIFF");
    }

    void TearDown() override
    {
        session().Alarm1 = nullptr;
        alarm1.reset();
        session().Form1 = nullptr;
        form1.reset();
        platform::setScreenSizeForTesting(std::nullopt);
        resetSession();
    }

    TKavroAlarm& alarm() { return *form1->KavroAlarm1; }

    static void click(QAbstractButton* button, int times = 1)
    {
        for (int n = 0; n < times; ++n)
            QTest::mouseClick(button, Qt::LeftButton);
    }

    // Opens the dialog with the control box's "Alarm" button.
    void open()
    {
        form1->ColorSpeedButton1Click();
        ASSERT_TRUE(alarm1->isVisible());
        EXPECT_FALSE(form1->isEnabled());
    }

    std::vector<testing_support::ShownBox> alarmCalls() const
    {
        std::vector<testing_support::ShownBox> calls;
        for (const auto& box : dialogs.boxes)
            if (box.caption == QStringLiteral("Kavro Start Alarm Call."))
                calls.push_back(box);
        return calls;
    }

    RecordingDialogs dialogs;
    RecordingSound sound;
    FixedClock clock { at(7, 29, 50) };
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TAlarm1> alarm1;
};

TEST_F(AlarmDialog, SetFromTheDialogFiresOnceAtTheSetMinuteWithSoundAndMessageThenIsOff)
{
    open();
    click(alarm1->UpDown1->UpButton(), 7);
    click(alarm1->UpDown2->UpButton(), 30);
    EXPECT_EQ(alarm1->Edit2->text(), QStringLiteral("7"));
    EXPECT_EQ(alarm1->Edit3->text(), QStringLiteral("30"));
    click(alarm1->Button1);
    EXPECT_FALSE(alarm1->isVisible());
    EXPECT_TRUE(form1->isEnabled());
    EXPECT_TRUE(alarm().Active());
    QCoreApplication::processEvents();
    EXPECT_TRUE(alarmCalls().empty());

    clock.set(at(7, 30, 0));
    alarm().Tick();
    ASSERT_EQ(alarmCalls().size(), 1u);
    EXPECT_EQ(alarmCalls()[0].kind, QStringLiteral("information"));
    EXPECT_EQ(alarmCalls()[0].text, QString());
    // Found whatever the letter case of the folder.
    EXPECT_EQ(sound.played, QStringList { folder.path() + QStringLiteral("/ConFigs/Alarm.wav") });
    EXPECT_FALSE(alarm().Active());
}

TEST_F(AlarmDialog, OkWithinTheSetMinuteFiresAtOnceWithTheTypedMessage)
{
    open();
    click(alarm1->UpDown1->UpButton(), 7);
    click(alarm1->UpDown2->UpButton(), 30);
    QTest::keyClicks(alarm1->Edit1, QStringLiteral("Wake up"));
    clock.set(at(7, 30, 20));
    click(alarm1->Button1);
    QCoreApplication::processEvents();
    ASSERT_EQ(alarmCalls().size(), 1u);
    EXPECT_EQ(alarmCalls()[0].text, QStringLiteral("Wake up"));
    EXPECT_EQ(session().AlarmMessage, QStringLiteral("Wake up"));
    EXPECT_FALSE(alarm().Active());
}

TEST_F(AlarmDialog, ArrowsThroughTheMinuteUnderWayNeverFireTheAlarmAndOnlyOkDoes)
{
    clock.set(at(7, 30, 20));
    open();
    click(alarm1->Button1);
    open();
    click(alarm1->UpDown1->UpButton(), 7);
    click(alarm1->UpDown2->UpButton(), 30);
    alarm().Tick();
    // Away and back again.
    click(alarm1->UpDown2->UpButton());
    click(alarm1->UpDown1->UpButton());
    click(alarm1->UpDown2->DownButton());
    click(alarm1->UpDown1->DownButton());
    clock.set(at(7, 30, 21));
    alarm().Tick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(alarmCalls().empty());
    alarm1->close();
    EXPECT_TRUE(alarm().Active());
    alarm().Tick();
    EXPECT_TRUE(alarmCalls().empty());

    // OK within the minute rings at once, also while the alarm is on already.
    open();
    click(alarm1->Button1);
    QCoreApplication::processEvents();
    EXPECT_EQ(alarmCalls().size(), 1u);
    EXPECT_FALSE(alarm().Active());
}

TEST_F(AlarmDialog, OpensWithTheFocusOnOk)
{
    open();
    alarm1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(alarm1.get()));
    EXPECT_EQ(QApplication::focusWidget(), alarm1->Button1);
    alarm1->Edit1->setFocus();
    alarm1->close();
    open();
    EXPECT_EQ(alarm1->focusWidget(), alarm1->Button1);
}

TEST_F(AlarmDialog, AFiringAlarmTakesTheBlankerAwayBeforeItsMessage)
{
    TForm3 blanker;
    session().Form3 = &blanker;
    struct SeesTheBlanker final : platform::Dialogs {
        void information(const QString&, const QString&) override
        {
            blankerShowing.push_back(session().Form3->isVisible());
        }
        void error(const QString&) override { }
        std::vector<bool> blankerShowing;
    } boxes;
    platform::setDialogs(&boxes);
    blanker.showAndRaise();
    form1->KavroAlarm1Alarm();
    platform::setDialogs(&dialogs);
    session().Form3 = nullptr;
    EXPECT_EQ(boxes.blankerShowing, std::vector<bool> { false });
    EXPECT_FALSE(blanker.isVisible());
}

TEST_F(AlarmDialog, CancelKeepsTheArrowsHourButSwitchesTheAlarmOff)
{
    open();
    click(alarm1->Button1);
    ASSERT_TRUE(alarm().Active());
    open();
    click(alarm1->UpDown1->UpButton(), 7);
    EXPECT_EQ(alarm().SetHour(), 7);
    click(alarm1->Button2);
    EXPECT_FALSE(alarm1->isVisible());
    EXPECT_TRUE(form1->isEnabled());
    EXPECT_EQ(alarm().SetHour(), 7);
    EXPECT_FALSE(alarm().Active());
}

TEST_F(AlarmDialog, CloseBoxKeepsTheAlarmOnWithTheNewMinuteAndTheOldMessage)
{
    open();
    QTest::keyClicks(alarm1->Edit1, QStringLiteral("First"));
    click(alarm1->Button1);
    open();
    // The dialog keeps its fields from one opening to the next.
    EXPECT_EQ(alarm1->Edit1->text(), QStringLiteral("First"));
    QTest::keyClicks(alarm1->Edit1, QStringLiteral(" and second"));
    click(alarm1->UpDown2->UpButton());
    alarm1->close();
    EXPECT_FALSE(alarm1->isVisible());
    EXPECT_TRUE(form1->isEnabled());
    EXPECT_TRUE(alarm().Active());
    EXPECT_EQ(alarm().SetMin(), 1);
    EXPECT_EQ(session().AlarmMessage, QStringLiteral("First"));
}

TEST_F(AlarmDialog, ArrowsStopAtTheEndsOfTheirRanges)
{
    open();
    click(alarm1->UpDown1->DownButton());
    EXPECT_EQ(alarm1->Edit2->text(), QStringLiteral("0"));
    EXPECT_EQ(alarm().SetHour(), 0);
    click(alarm1->UpDown1->UpButton(), 30);
    EXPECT_EQ(alarm1->Edit2->text(), QStringLiteral("24"));
    EXPECT_EQ(alarm().SetHour(), 24);
    click(alarm1->UpDown2->UpButton(), 70);
    EXPECT_EQ(alarm1->Edit3->text(), QStringLiteral("59"));
    EXPECT_EQ(alarm().SetMin(), 59);
    // The arrow keys in the hour box work its arrows.
    alarm1->Edit2->setFocus();
    QTest::keyClick(alarm1->Edit2, Qt::Key_Down);
    EXPECT_EQ(alarm().SetHour(), 23);
}

TEST_F(AlarmDialog, MessageStopsAtOneHundredCharacters)
{
    open();
    QTest::keyClicks(alarm1->Edit1, QString(120, u'x'));
    EXPECT_EQ(alarm1->Edit1->text(), QString(100, u'x'));
}

TEST_F(AlarmDialog, IsACentredToolWindowThatTabsInItsOrder)
{
    EXPECT_EQ(alarm1->windowTitle(), QStringLiteral("Kavro Start Alarm."));
    EXPECT_EQ(alarm1->size(), QSize(311, 97));
    EXPECT_TRUE(alarm1->windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(alarm1->geometry().center(), QRect(0, 0, 1024, 768).center());

    open();
    alarm1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(alarm1.get()));
    alarm1->Button1->setFocus();
    const QWidget* expected[] = { alarm1->Edit1, alarm1->Button2, alarm1->Edit2, alarm1->Edit3, alarm1->Button1 };
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
    }
}
