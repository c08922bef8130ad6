// Screens: their sizes and places, and their changes.
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

QList<QRect> screenRects()
{
    if (screenOverride)
        return { QRect(QPoint(0, 0), *screenOverride) };
    QList<QRect> rects;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        rects.append(primary->geometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            rects.append(screen->geometry());
    return rects;
}

void watchScreens(QObject* context, const std::function<void()>& changed)
{
    // Queued: a screen on its way out may still be counted while its removal is told.
    const auto settled = [context, changed] { QMetaObject::invokeMethod(context, changed, Qt::QueuedConnection); };
    const auto watch = [context, settled](const QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, context, settled);
    };
    for (const QScreen* screen : QGuiApplication::screens())
        watch(screen);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, context, watch);
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, context, settled);
}

void setScreenSizeForTesting(std::optional<QSize> size) { screenOverride = size; }

void setDesktopRectForTesting(std::optional<QRect> rect) { desktopOverride = rect; }

} // namespace platform
