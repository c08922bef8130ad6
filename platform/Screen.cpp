// Primary screen size and the desktop's rectangle.
#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

static std::optional<QSize> screenOverride;
static std::optional<QRect> desktopOverride;

QSize primaryScreenSize()
{
    if (screenOverride)
        return *screenOverride;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return QSize(0, 0);
}

QRect desktopRect()
{
    if (desktopOverride)
        return *desktopOverride;
    if (screenOverride)
        return QRect(QPoint(0, 0), *screenOverride);
    QRect all;
    for (const QScreen* screen : QGuiApplication::screens())
        all = all.united(screen->geometry());
    return all;
}

void setScreenSizeForTesting(std::optional<QSize> size) { screenOverride = size; }

void setDesktopRectForTesting(std::optional<QRect> rect) { desktopOverride = rect; }

} // namespace platform
