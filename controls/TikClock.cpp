// Analogue clock control.
#include "controls/TikClock.h"

#include <QMouseEvent>
#include <QPainter>

TTickingClock::TTickingClock(QWidget* parent) : QWidget(parent) { resize(64, 51); }

void TTickingClock::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 128));
}

void TTickingClock::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TTickingClock::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}
