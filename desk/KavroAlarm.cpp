// Daily one-shot alarm.
#include "desk/KavroAlarm.h"

#include "platform/Clock.h"
#include "platform/Guard.h"

TKavroAlarm::TKavroAlarm(QObject* owner)
    : QObject(owner)
{
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, [this] { platform::guarded([this] { Tick(); }); });
}

void TKavroAlarm::setActive(bool value)
{
    if (!value) {
        timer_.stop();
        return;
    }
    rearm();
    if (!timer_.isActive())
        timer_.start();
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

void TKavroAlarm::setSetHour(int value)
{
    if (value < 0 || value > 24 || value == setHour_)
        return;
    setHour_ = value;
    settingChanged();
}

void TKavroAlarm::setSetMin(int value)
{
    if (value < 0 || value > 59 || value == setMin_)
        return;
    setMin_ = value;
    settingChanged();
}

void TKavroAlarm::setSetSec(int value)
{
    if (value < 0 || value > 59 || value == setSec_)
        return;
    setSec_ = value;
    settingChanged();
}

// Stepping the arrows through the minute under way must not fire the alarm
// half-way through its setting: that minute counts as checked already.
void TKavroAlarm::settingChanged()
{
    const QTime now = platform::now().time();
    fired_ = now.hour() == setHour_ && now.minute() == setMin_;
}

void TKavroAlarm::Tick()
{
    const QTime now = platform::now().time();
    currentHour_ = quint16(now.hour());
    currentMin_ = quint16(now.minute());
    currentSec_ = quint16(now.second());
    currentMSec_ = quint16(now.msec());
    if (currentHour_ != setHour_ || currentMin_ != setMin_) {
        rearm();
        return;
    }
    if (currentSec_ < setSec_ || fired_)
        return;
    fired_ = true;
    emit OnAlarm();
}
