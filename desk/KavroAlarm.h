// Daily one-shot alarm.
#pragma once

#include <QObject>

class TKavroAlarm final : public QObject {
    Q_OBJECT
public:
    explicit TKavroAlarm(QObject* owner);

    bool Active() const { return active_; }
    void setActive(bool value) { active_ = value; }

signals:
    void OnAlarm();

private:
    bool active_ = false;
};
