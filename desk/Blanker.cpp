// Screen blanker.
#include "desk/Blanker.h"

#include "platform/Guard.h"
#include "platform/Screen.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>

TForm3::TForm3(QWidget* parent)
    : TForm(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Form3"));
    setCaption(QStringLiteral("Form3"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    // Some platforms send no mouse-move message when a window comes up under
    // a cursor at rest: then the cursor's place at showing is the resting place.
    restingPlaceWait_.setSingleShot(true);
    restingPlaceWait_.setInterval(RestingPlaceWaitMs);
    connect(&restingPlaceWait_, &QTimer::timeout, this, [this] {
        if (lastMouse_ == unknown)
            lastMouse_ = cursorAtShow_;
    });

    platform::guarded([this] { FormCreate(); });
}

void TForm3::FormCreate()
{
    setCursor(Qt::BlankCursor);
    // Every screen, so that no monitor is left showing; taken at start-up, a
    // later change of resolution is not followed.
    coverScreen(platform::desktopRect());
}

void TForm3::FormShow()
{
    lastMouse_ = unknown;
    cursorAtShow_ = mapFromGlobal(QCursor::pos());
    restingPlaceWait_.start();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void TForm3::FormMouseMove(QPoint at)
{
    if (lastMouse_ == unknown) {
        restingPlaceWait_.stop();
        lastMouse_ = at;
        return;
    }
    if (at != lastMouse_)
        close();
}

void TForm3::FormClick() { close(); }

void TForm3::FormMouseDown() { close(); }

void TForm3::FormKeyDown() { close(); }

void TForm3::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint at = event->position().toPoint();
    platform::guarded([this, at] { FormMouseMove(at); });
}

void TForm3::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    pressed_ = true;
    platform::guarded([this] { FormMouseDown(); });
}

void TForm3::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (!pressed_)
        return;
    pressed_ = false;
    if (rect().contains(event->position().toPoint()))
        platform::guarded([this] { FormClick(); });
}

void TForm3::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    platform::guarded([this] { FormMouseDown(); });
}

void TForm3::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    platform::guarded([this] { FormKeyDown(); });
}
