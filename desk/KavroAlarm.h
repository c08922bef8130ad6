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

    // Switching on checks the time at once (once the caller has returned)
    // and then every 1000 ms.
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
    // the alarm. It fires once there, and again only after the setting
    // changes, the alarm is switched on anew, or a later day comes round.
    void Tick();

signals:
    void OnAlarm();

private:
    void rearm() { fired_ = false; }

    QTimer timer_;
    quint16 currentHour_ = 0;
    quint16 currentMin_ = 0;
    quint16 currentSec_ = 0;
    quint16 currentMSec_ = 0;
    int setHour_ = 0;
    int setMin_ = 0;
    int setSec_ = 0;
    // Fired within the set minute already.
    bool fired_ = false;
};
