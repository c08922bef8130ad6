// Local time seam.
#include "platform/Clock.h"

#include <QMutex>
#include <algorithm>
#include <ctime>

namespace platform {

static QMutex clockMutex;
static std::function<QDateTime()> clockSource;
// The minute since the epoch in which the time zone was last read.
static time_t zoneReadInMinute = -1;

QDateTime now()
{
    QMutexLocker lock(&clockMutex);
    if (clockSource)
        return clockSource();
    return QDateTime::currentDateTime();
}

QTime timeOfDay()
{
    QMutexLocker lock(&clockMutex);
    if (clockSource)
        return clockSource().time();
    timespec utc {};
    clock_gettime(CLOCK_REALTIME, &utc);
    // The zone's rules, once read, already hold its changes to and from
    // summer time; reading them again only notices a new zone.
    if (utc.tv_sec / 60 != zoneReadInMinute) {
        tzset();
        zoneReadInMinute = utc.tv_sec / 60;
    }
    tm local {};
    if (!localtime_r(&utc.tv_sec, &local))
        return QDateTime::currentDateTime().time();
    // A leap second shows as the last second of its minute.
    return QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(utc.tv_nsec / 1000000));
}

void setClockForTesting(std::function<QDateTime()> source)
{
    QMutexLocker lock(&clockMutex);
    clockSource = std::move(source);
}

} // namespace platform
