// Daily one-shot alarm.
#include "desk/KavroAlarm.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"

#include <QLocale>
#include <algorithm>

namespace {

// The time the wall clock shows, held as a UTC value: the set time is a time
// on the wall clock, and a change of zone or of summer time moves the wall
// clock without time passing.
QDateTime wall(const QDateTime& time) { return QDateTime(time.date(), time.time(), Qt::UTC); }

} // namespace

void AlarmTimes::switchOn(const QDateTime& now)
{
    on_ = true;
    passed_ = QDateTime();
    const QDateTime w = wall(now);
    checkedWall_ = QDateTime(w.date(), QTime(w.time().hour(), w.time().minute()), Qt::UTC).addMSecs(-1);
    checkedAt_ = now;
}

void AlarmTimes::switchOff()
{
    on_ = false;
    snoozeAt_ = QDateTime();
}

// Stepping the arrows through the minute under way must not call the alarm
// half-way through its setting: that minute's moment counts as passed.
void AlarmTimes::setTime(int hour, int minute, int second, const QDateTime& now)
{
    hour_ = hour;
    minute_ = minute;
    second_ = second;
    const QDateTime w = wall(now);
    const bool withinMinute = w.time().hour() == hour && w.time().minute() == minute;
    passed_ = withinMinute ? QDateTime(w.date(), QTime(hour, minute, second), Qt::UTC) : QDateTime();
}

void AlarmTimes::snooze(const QDateTime& now)
{
    const QDateTime w = wall(now);
    const QDateTime at = w.addSecs(snoozeSecs);
    snoozeAt_ = at.date() == w.date() ? at : QDateTime();
}

QDateTime AlarmTimes::latestDue(const QDateTime& wall) const
{
    if (hour_ > 23)
        return {};
    const QDateTime due(wall.date(), QTime(hour_, minute_, second_), Qt::UTC);
    return due > wall ? due.addDays(-1) : due;
}

AlarmTimes::Decision AlarmTimes::check(const QDateTime& now)
{
    const QDateTime w = wall(now);
    Decision decision;
    if (on_) {
        const QDateTime due = latestDue(w);
        if (due.isValid() && due > checkedWall_ && due != called_ && due != passed_) {
            decision.due = due;
            called_ = due;
            on_ = false;
        }
    }
    if (snoozeAt_.isValid()) {
        // A snooze ends with its day, also when the clock is set back to another.
        if (snoozeAt_.date() != w.date()) {
            snoozeAt_ = QDateTime();
        } else if (snoozeAt_ <= w) {
            if (!decision.due.isValid() || snoozeAt_ > decision.due) {
                decision.due = snoozeAt_;
                decision.snooze = true;
            }
            snoozeAt_ = QDateTime();
        }
    }
    if (decision.due.isValid()) {
        // How late, on the wall clock; but no later than the time that really
        // passed since the check before, so that a move of the wall clock
        // alone (a new zone) is no missed alarm.
        qint64 late = decision.due.secsTo(w);
        if (checkedAt_.isValid())
            late = std::min(late, checkedAt_.secsTo(now));
        decision.call = late <= latestRingSecs ? Call::Ring : Call::Missed;
    }
    checkedWall_ = w;
    checkedAt_ = now;
    return decision;
}

QString missedAlarmLine(const QDateTime& due, const QDate& today)
{
    const QString time
        = due.time().toString(due.time().second() ? QStringLiteral("hh:mm:ss") : QStringLiteral("hh:mm"));
    if (due.date() == today)
        return QStringLiteral("The alarm of %1 was missed.").arg(time);
    return QStringLiteral("The alarm of %1 on %2 was missed.")
        .arg(time, QLocale::c().toString(due.date(), QStringLiteral("ddd d MMM")));
}

TKavroAlarm::TKavroAlarm(QObject* owner)
    : QObject(owner)
{
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, platform::guardedSlot([this] { Tick(); }));
}

void TKavroAlarm::setActive(bool value)
{
    if (!value) {
        times_.switchOff();
        timer_.stop();
        return;
    }
    times_.switchOn(platform::now());
    runTimer();
    // Switched on (or on again) within the set minute, the alarm need not
    // wait for the next tick, which could already lie in the following minute.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (Active())
                platform::guarded([this] { Tick(); });
        },
        Qt::QueuedConnection);
}

// The timer runs while there is something to wait for, and only then.
void TKavroAlarm::runTimer()
{
    if (!times_.on() && !times_.snoozed())
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start();
}

void TKavroAlarm::setSetHour(int value)
{
    if (value < 0 || value > 24 || value == setHour_)
        return;
    setHour_ = value;
    setTimes();
}

void TKavroAlarm::setSetMin(int value)
{
    if (value < 0 || value > 59 || value == setMin_)
        return;
    setMin_ = value;
    setTimes();
}

void TKavroAlarm::setSetSec(int value)
{
    if (value < 0 || value > 59 || value == setSec_)
        return;
    setSec_ = value;
    setTimes();
}

void TKavroAlarm::setTimes() { times_.setTime(setHour_, setMin_, setSec_, platform::now()); }

void TKavroAlarm::Tick()
{
    const QDateTime now = platform::now();
    currentHour_ = quint16(now.time().hour());
    currentMin_ = quint16(now.time().minute());
    currentSec_ = quint16(now.time().second());
    currentMSec_ = quint16(now.time().msec());
    call_ = times_.check(now);
    runTimer();
    if (call_.call != AlarmTimes::Call::None)
        emit OnAlarm();
}

void TKavroAlarm::ShowCall(const QString& alarmMessage)
{
    const QString message = call_.snooze ? snoozedMessage_ : alarmMessage;
    QString text = message;
    if (call_.call == AlarmTimes::Call::Missed) {
        const QString missed = missedAlarmLine(call_.due, platform::now().date());
        text = message.isEmpty() ? missed : missed + u'\n' + message;
    }
    if (!platform::dialogs().informationWithChoice(
            QStringLiteral("Kavro Start Alarm Call."), text, QStringLiteral("Snooze 5 min")))
        return;
    times_.snooze(platform::now());
    snoozedMessage_ = message;
    runTimer();
}
