// The current local date and time, replaceable by tests.
#pragma once

#include <QDateTime>
#include <functional>

namespace platform {

QDateTime now();

// The local time of day that now() holds, for callers that ask every second:
// it reads the time zone again once a minute, not at every call, so that a
// tick costs no look at the zone file.
QTime timeOfDay();

// Tests set a source of time; an empty function restores the system clock.
void setClockForTesting(std::function<QDateTime()> source);

} // namespace platform
