// Daily one-shot alarm: a one-second check of the time of day against a set
// hour, minute and second.
#pragma once

#include <QObject>
#include <QTimer>

class TKavroAlarm final : public QObject {
    Q_OBJECT
public:
    // Off (its timer disabled) until Active is set.
    explicit TKavroAlarm(QObject* owner);

    // Switching on, also when it is on already, checks the time at once
    // (once the caller has returned) and then every 1000 ms.
    bool Active() const { return timer_.isActive(); }
    void setActive(bool value);

    // Out-of-range values are ignored and the old value stays. Hour 24 is
    // accepted but never reached.
    int SetHour() const { return setHour_; }
    void setSetHour(int value);
    int SetMin() const { return setMin_; }
    void setSetMin(int value);
    int SetSec() const { return setSec_; }
    void setSetSec(int value);

    // One check: OnAlarm fires at the first check within the set hour and
    // minute at or after the set second, so a skipped second does not lose
    // the alarm. It fires once there, and again only when the alarm is
    // switched on anew within the minute or the minute comes round again. A
    // setting changed within its own minute does not fire until the minute
    // comes round again.
    void Tick();

signals:
    void OnAlarm();

private:
    void rearm() { fired_ = false; }
    void settingChanged();

    QTimer timer_;
    quint16 currentHour_ = 0;
    quint16 currentMin_ = 0;
    quint16 currentSec_ = 0;
    quint16 currentMSec_ = 0;
    int setHour_ = 0;
    int setMin_ = 0;
    int setSec_ = 0;
    // The set minute under way has been dealt with: fired, or reached by a change of the setting.
    bool fired_ = false;
};
