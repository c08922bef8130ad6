// The current local date and time, replaceable by tests.
#pragma once

#include <QDateTime>
#include <functional>

namespace platform {

QDateTime now();

// Tests set a source of time; an empty function restores the system clock.
void setClockForTesting(std::function<QDateTime()> source);

} // namespace platform
