// Local time seam.
#include "platform/Clock.h"

#include <QMutex>

namespace platform {

static QMutex clockMutex;
static std::function<QDateTime()> clockSource;

QDateTime now()
{
    QMutexLocker lock(&clockMutex);
    if (clockSource)
        return clockSource();
    return QDateTime::currentDateTime();
}

void setClockForTesting(std::function<QDateTime()> source)
{
    QMutexLocker lock(&clockMutex);
    clockSource = std::move(source);
}

} // namespace platform
