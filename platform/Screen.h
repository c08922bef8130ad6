// Size of the primary screen, the rectangle of each screen and of the
// whole desktop, replaceable by tests; and word of a change of screens.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

class QObject;

namespace platform {

QSize primaryScreenSize();

// Every screen of the desktop together, in desktop coordinates: the
// smallest rectangle that holds them all.
QRect desktopRect();

// Each screen in desktop coordinates, the primary first; a test's screen
// size is the one screen, at (0, 0).
QList<QRect> screenRects();

// Calls `changed`, while `context` lives, whenever a screen goes away or
// changes its geometry, once the window system has finished the change.
void watchScreens(QObject* context, const std::function<void()>& changed);

void setScreenSizeForTesting(std::optional<QSize> size);
// Without one, a test's screen size stands for the desktop, at (0, 0).
void setDesktopRectForTesting(std::optional<QRect> rect);

} // namespace platform
