// Primary screen size.
#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

static std::optional<QSize> screenOverride;

QSize primaryScreenSize()
{
    if (screenOverride)
        return *screenOverride;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return QSize(0, 0);
}

void setScreenSizeForTesting(std::optional<QSize> size) { screenOverride = size; }

} // namespace platform
