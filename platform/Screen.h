// Size of the primary screen and the rectangle of the whole desktop,
// replaceable by tests.
#pragma once

#include <QRect>
#include <QSize>
#include <optional>

namespace platform {

QSize primaryScreenSize();

// Every screen of the desktop together, in desktop coordinates: the
// smallest rectangle that holds them all.
QRect desktopRect();

void setScreenSizeForTesting(std::optional<QSize> size);
// Without one, a test's screen size stands for the desktop, at (0, 0).
void setDesktopRectForTesting(std::optional<QRect> rect);

} // namespace platform
