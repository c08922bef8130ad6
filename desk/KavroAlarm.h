// Daily one-shot alarm: a one-second check of the time of day against a set
// hour, minute and second, and the snooze of its message.
//
// AlarmTimes decides on times alone when the alarm is due and whether it
// rings or is reported missed; TKavroAlarm runs it on a timer and shows the
// call through the dialog seam.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

// When the alarm calls, from the times of its checks. The set time is looked
// for on the wall clock: a check finds the latest set moment after the one
// before it, so a suspend or a jump of the clock across the set minute is
// noticed at the first check after it. Each set moment calls at most once.
class AlarmTimes final {
public:
    // Later than this after its time, a call reports the alarm missed and
    // does not ring.
    static constexpr int latestRingSecs = 15 * 60;
    static constexpr int snoozeSecs = 5 * 60;

    enum class Call { None, Ring, Missed };
    struct Decision {
        Call call = Call::None;
        QDateTime due; // the wall-clock time it was due, as a UTC value
        bool snooze = false;
    };

    bool on() const { return on_; }
    bool snoozed() const { return snoozeAt_.isValid(); }

    // On: the set moment of the minute under way, if it is past, counts.
    void switchOn(const QDateTime& now);
    // Off, and any snooze dropped.
    void switchOff();
    // A new set time (hour 24 never comes). Set within its own minute, it
    // waits for the next day, or for switchOn.
    void setTime(int hour, int minute, int second, const QDateTime& now);
    // Calls once more `snoozeSecs` from now, unless that is another day.
    void snooze(const QDateTime& now);

    // One check at `now`. A call of the set time switches the alarm off; a
    // snooze that reaches another day is dropped without a call.
    Decision check(const QDateTime& now);

private:
    QDateTime latestDue(const QDateTime& wall) const;

    bool on_ = false;
    int hour_ = 0;
    int minute_ = 0;
    int second_ = 0;
    // The check before: its wall-clock time (a UTC value) and its instant.
    QDateTime checkedWall_;
    QDateTime checkedAt_;
    QDateTime called_; // the set moment last called
    QDateTime passed_; // the set moment a change of the setting passed over
    QDateTime snoozeAt_; // wall-clock time, a UTC value
};

class TKavroAlarm final : public QObject {
    Q_OBJECT
public:
    // Off (its timer disabled) until Active is set.
    explicit TKavroAlarm(QObject* owner);

    // Switching on, also when it is on already, checks the time at once
    // (once the caller has returned) and then every 1000 ms. The timer also
    // runs while a snooze is pending; switching off drops the snooze.
    bool Active() const { return times_.on(); }
    void setActive(bool value);

    // Out-of-range values are ignored and the old value stays. Hour 24 is
    // accepted but never reached.
    int SetHour() const { return setHour_; }
    void setSetHour(int value);
    int SetMin() const { return setMin_; }
    void setSetMin(int value);
    int SetSec() const { return setSec_; }
    void setSetSec(int value);

    // One check: OnAlarm fires when the set time, or a snooze, is reached or
    // has been passed over since the last check (AlarmTimes). A call of the
    // set time switches the alarm off.
    void Tick();

    // The call under way (during OnAlarm): whether it rings, or only reports
    // a missed alarm.
    bool CallRings() const { return call_.call != AlarmTimes::Call::Missed; }
    // Shows the call under way in the alarm's message box: the message (the
    // snoozed one for a snooze), after a line saying when it was due if it
    // was missed. "Snooze 5 min" there calls again five minutes later.
    void ShowCall(const QString& alarmMessage);

signals:
    void OnAlarm();

private:
    void setTimes();
    void runTimer();

    QTimer timer_;
    AlarmTimes times_;
    AlarmTimes::Decision call_;
    QString snoozedMessage_;
    quint16 currentHour_ = 0;
    quint16 currentMin_ = 0;
    quint16 currentSec_ = 0;
    quint16 currentMSec_ = 0;
    int setHour_ = 0;
    int setMin_ = 0;
    int setSec_ = 0;
};

// The first line of a missed call's message: "The alarm of 07:30 was
// missed.", with the day when it is not `today`.
QString missedAlarmLine(const QDateTime& due, const QDate& today);
