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

TEST(AlarmTimes, CallsOnceWhenItsTimeIsReachedOrPassedOverRingingUpToAQuarterOfAnHourLate)
{
    enum Op { Check, On, Snooze };
    struct Step {
        Op op;
        QDateTime when;
    };
    struct Case {
        const char* name;
        int hour, minute, second;
        std::vector<Step> steps;
        QStringList calls; // "<step> ring|missed <day> <due>", "snooze" for a snooze's
    };
    const QDateTime sevenUtc(QDate(2024, 5, 6), QTime(7, 0, 0), Qt::OffsetFromUTC, 0);
    const std::vector<Case> cases = {
        { "on time", 7, 30, 0,
            { { On, at(7, 0, 0) }, { Check, at(7, 29, 59) }, { Check, at(7, 30, 0) }, { Check, at(7, 30, 1) } },
            { "2 ring 6 07:30:00" } },
        { "a skipped second", 7, 30, 0, { { On, at(7, 0, 0) }, { Check, at(7, 29, 59) }, { Check, at(7, 30, 1) } },
            { "2 ring 6 07:30:00" } },
        { "set second", 7, 30, 30, { { On, at(7, 0, 0) }, { Check, at(7, 30, 29) }, { Check, at(7, 30, 31) } },
            { "2 ring 6 07:30:30" } },
        { "asleep, missed by little", 7, 30, 0,
            { { On, at(7, 0, 0) }, { Check, at(7, 29, 59) }, { Check, at(7, 44, 59) } }, { "2 ring 6 07:30:00" } },
        { "asleep, missed by much", 7, 30, 0,
            { { On, at(7, 0, 0) }, { Check, at(7, 29, 59) }, { Check, at(7, 45, 1) }, { Check, at(7, 45, 2) } },
            { "2 missed 6 07:30:00" } },
        { "asleep till the next morning", 7, 30, 0, { { On, at(7, 0, 0) }, { Check, at(7, 0, 0).addDays(1) } },
            { "1 missed 6 07:30:00" } },
        { "backwards jump", 7, 30, 0, { { On, at(7, 40, 0) }, { Check, at(7, 20, 0) }, { Check, at(7, 30, 0) } },
            { "2 ring 6 07:30:00" } },
        { "jump across midnight", 23, 55, 0, { { On, at(23, 50, 0) }, { Check, at(0, 5, 0).addDays(1) } },
            { "1 ring 6 23:55:00" } },
        { "a new zone moves the wall clock across it", 8, 0, 0,
            { { On, sevenUtc }, { Check, sevenUtc.addSecs(1).toOffsetFromUtc(7200) } }, { "1 ring 6 08:00:00" } },
        { "off", 7, 30, 0, { { Check, at(7, 29, 59) }, { Check, at(7, 30, 0) }, { Check, at(8, 0, 0) } }, {} },
        { "hour 24", 24, 0, 0, { { On, at(23, 0, 0) }, { Check, at(23, 59, 59) }, { Check, at(0, 0, 1).addDays(1) } },
            {} },
        { "already called today", 7, 30, 0,
            { { On, at(7, 0, 0) }, { Check, at(7, 30, 0) }, { On, at(7, 30, 20) }, { Check, at(7, 30, 21) },
                { Check, at(7, 29, 50) }, { Check, at(7, 30, 0) } },
            { "1 ring 6 07:30:00" } },
        { "on again for a later day", 7, 30, 0,
            { { On, at(7, 0, 0) }, { Check, at(7, 30, 0) }, { On, at(7, 31, 0) }, { Check, at(7, 30, 0).addDays(1) } },
            { "1 ring 6 07:30:00", "3 ring 7 07:30:00" } },
        { "snoozed", 7, 30, 0,
            { { On, at(7, 0, 0) }, { Check, at(7, 30, 0) }, { Snooze, at(7, 30, 10) }, { Check, at(7, 35, 9) },
                { Check, at(7, 35, 10) }, { Check, at(7, 40, 10) } },
            { "1 ring 6 07:30:00", "4 ring 6 07:35:10 snooze" } },
        { "a snooze ends with its day", 23, 50, 0,
            { { On, at(23, 0, 0) }, { Check, at(23, 50, 0) }, { Snooze, at(23, 52, 0) },
                { Check, at(0, 1, 0).addDays(1) }, { Check, at(0, 2, 0).addDays(1) } },
            { "1 ring 6 23:50:00" } },
        { "a snooze past midnight is none", 23, 58, 0,
            { { On, at(23, 0, 0) }, { Check, at(23, 58, 0) }, { Snooze, at(23, 58, 0) },
                { Check, at(0, 3, 0).addDays(1) } },
            { "1 ring 6 23:58:00" } },
    };
    for (const Case& c : cases) {
        AlarmTimes times;
        times.setTime(c.hour, c.minute, c.second, at(12, 0, 0));
        QStringList calls;
        for (int n = 0; n < int(c.steps.size()); ++n) {
            const Step& step = c.steps[n];
            if (step.op == On)
                times.switchOn(step.when);
            else if (step.op == Snooze)
                times.snooze(step.when);
            else if (const AlarmTimes::Decision d = times.check(step.when); d.call != AlarmTimes::Call::None)
                calls << QStringLiteral("%1 %2 %3 %4")
                             .arg(n)
                             .arg(d.call == AlarmTimes::Call::Ring ? "ring" : "missed")
                             .arg(d.due.date().day())
                             .arg(d.due.time().toString(QStringLiteral("hh:mm:ss")))
                        + (d.snooze ? " snooze" : "");
        }
        EXPECT_EQ(calls, c.calls) << c.name;
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

TEST_F(AlarmDialog, AMissedAlarmSaysSoWithoutSoundAndItsSnoozeRingsWithTheSameMessageDespiteANewOne)
{
    open();
    click(alarm1->UpDown1->UpButton(), 7);
    click(alarm1->UpDown2->UpButton(), 30);
    QTest::keyClicks(alarm1->Edit1, QStringLiteral("Wake up"));
    click(alarm1->Button1);
    QCoreApplication::processEvents();

    // Asleep from 07:29:50 to 09:00.
    clock.set(at(9, 0, 0));
    dialogs.chooseOther = true;
    alarm().Tick();
    ASSERT_EQ(alarmCalls().size(), 1u);
    EXPECT_EQ(alarmCalls()[0].text, QStringLiteral("The alarm of 07:30 was missed.\nWake up"));
    EXPECT_EQ(alarmCalls()[0].otherButton, QStringLiteral("Snooze 5 min"));
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_FALSE(alarm().Active());

    // Set again for tomorrow with another message; the snooze stays.
    dialogs.chooseOther = false;
    open();
    QTest::keyClicks(alarm1->Edit1, QStringLiteral(" tomorrow"));
    click(alarm1->Button1);
    clock.set(at(9, 4, 59));
    alarm().Tick();
    clock.set(at(9, 5, 0));
    alarm().Tick();
    ASSERT_EQ(alarmCalls().size(), 2u);
    EXPECT_EQ(alarmCalls()[1].text, QStringLiteral("Wake up"));
    EXPECT_EQ(sound.played.size(), 1);
    EXPECT_TRUE(alarm().Active());
    clock.set(at(9, 10, 0));
    alarm().Tick();
    EXPECT_EQ(alarmCalls().size(), 2u);
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
