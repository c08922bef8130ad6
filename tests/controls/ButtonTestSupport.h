// Helpers for the button tests: pictures, rendering and mouse events.
#pragma once

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

namespace button_testing {

inline constexpr QRgb teal = 0xFF008080;

// A picture of `count` square images of `side` pixels: teal background,
// with a black `mark` rectangle in each image.
inline QImage picture(int side, int count, QRect mark = QRect(4, 4, 4, 4))
{
    QImage image(side * count, side, QImage::Format_RGB32);
    image.fill(teal);
    for (int i = 0; i < count; ++i)
        for (int y = mark.top(); y <= mark.bottom(); ++y)
            for (int x = mark.left(); x <= mark.right(); ++x)
                image.setPixel(i * side + x, y, qRgb(0, 0, 0));
    return image;
}

inline QImage render(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }

inline QRgb rgb(const QColor& colour) { return colour.rgb() | 0xFF000000u; }

// Sends a left-button mouse event straight to `widget`, as Qt does to the
// widget that holds the mouse while a button is pressed.
inline void mouse(QWidget& widget, QEvent::Type type, QPoint pos)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), widget.mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

inline void click(QWidget& widget, QPoint pos = QPoint(3, 3))
{
    mouse(widget, QEvent::MouseButtonPress, pos);
    mouse(widget, QEvent::MouseButtonRelease, pos);
}

} // namespace button_testing
