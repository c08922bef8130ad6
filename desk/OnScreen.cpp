// Windows kept on a screen.
#include "desk/OnScreen.h"

#include "platform/Screen.h"
#include "platform/WindowSystem.h"

#include <QWidget>
#include <algorithm>
#include <limits>

namespace {

qint64 squaredDistance(QPoint point, const QRect& rect)
{
    const qint64 dx = std::max({ rect.left() - point.x(), 0, point.x() - rect.right() });
    const qint64 dy = std::max({ rect.top() - point.y(), 0, point.y() - rect.bottom() });
    return dx * dx + dy * dy;
}

// The window's edge moved onto [low, low + room); its low edge wins when it does not fit.
int within(int edge, int size, int low, int room) { return std::max(low, std::min(edge, low + room - size)); }

} // namespace

QPoint placeOnScreens(const QRect& window, const QList<QRect>& screens)
{
    const QRect* nearest = nullptr;
    qint64 nearestDistance = std::numeric_limits<qint64>::max();
    for (const QRect& screen : screens) {
        if (screen.contains(window))
            return window.topLeft();
        const qint64 distance = squaredDistance(window.center(), screen);
        if (distance < nearestDistance) {
            nearest = &screen;
            nearestDistance = distance;
        }
    }
    if (!nearest)
        return window.topLeft();
    return QPoint(within(window.left(), window.width(), nearest->left(), nearest->width()),
        within(window.top(), window.height(), nearest->top(), nearest->height()));
}

KeptOnScreen::KeptOnScreen(QWidget* window)
    : QObject(window)
    , window_(window)
{
    keep();
    platform::watchScreens(this, [this] { keep(); });
}

void KeptOnScreen::keep()
{
    if (!platform::windowsPlaceable())
        return;
    const QRect frame = window_->frameGeometry();
    const QPoint place = placeOnScreens(frame, platform::screenRects());
    if (place != frame.topLeft())
        window_->move(place);
}
