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
    if (value == timer_.isActive())
        return;
    if (!value) {
        timer_.stop();
        return;
    }
    rearm();
    timer_.start();
    // Switched on within the set minute, the alarm need not wait for the
    // next tick, which could already lie in the following minute.
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
    rearm();
}

void TKavroAlarm::setSetMin(int value)
{
    if (value < 0 || value > 59 || value == setMin_)
        return;
    setMin_ = value;
    rearm();
}

void TKavroAlarm::setSetSec(int value)
{
    if (value < 0 || value > 59 || value == setSec_)
        return;
    setSec_ = value;
    rearm();
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
