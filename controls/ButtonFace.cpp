// Classic button faces.
#include "controls/ButtonFace.h"

#include "platform/SystemColors.h"

#include <QPainter>

namespace {

QColor scheme(int index) { return platform::sysColor(index); }

} // namespace

void drawEdge(QPainter& painter, const QRect& rect, TEdge edge, TEdgeSides sides)
{
    if (rect.isEmpty())
        return;
    QColor topLeft;
    QColor bottomRight;
    switch (edge) {
    case TEdge::RaisedOuter:
        topLeft = scheme(platform::COLOR_3DLIGHT);
        bottomRight = scheme(platform::COLOR_3DDKSHADOW);
        break;
    case TEdge::RaisedInner:
        topLeft = scheme(platform::COLOR_BTNHIGHLIGHT);
        bottomRight = scheme(platform::COLOR_BTNSHADOW);
        break;
    case TEdge::SunkenOuter:
        topLeft = scheme(platform::COLOR_BTNSHADOW);
        bottomRight = scheme(platform::COLOR_BTNHIGHLIGHT);
        break;
    case TEdge::SunkenInner:
        topLeft = scheme(platform::COLOR_3DDKSHADOW);
        bottomRight = scheme(platform::COLOR_3DLIGHT);
        break;
    }
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    if (sides == TEdgeSides::TopLeft) {
        painter.fillRect(l, t, 1, rect.height(), topLeft);
        painter.fillRect(l, t, rect.width(), 1, topLeft);
    } else {
        painter.fillRect(r, t, 1, rect.height(), bottomRight);
        painter.fillRect(l, b, rect.width(), 1, bottomRight);
    }
}

void drawOutlined(QPainter& painter, const QRect& rect, const QColor& fill, const QColor& pen)
{
    if (rect.isEmpty())
        return;
    painter.fillRect(rect, pen);
    painter.fillRect(rect.adjusted(1, 1, -1, -1), fill);
}

void paintSpeedButtonFace(QPainter& painter, const QRect& rect, const QColor& face, bool sunken)
{
    QRect r = rect;
    if (sunken) {
        painter.fillRect(r, face);
        drawEdge(painter, r, TEdge::SunkenInner, TEdgeSides::TopLeft);
        drawEdge(painter, r, TEdge::SunkenOuter, TEdgeSides::BottomRight);
        r.adjust(1, 1, -1, -1);
        drawEdge(painter, r, TEdge::SunkenOuter, TEdgeSides::TopLeft);
        return;
    }
    drawOutlined(painter, r, face, Qt::black);
    drawEdge(painter, r, TEdge::RaisedOuter, TEdgeSides::BottomRight);
    r.adjust(0, 0, -1, -1);
    drawEdge(painter, r, TEdge::RaisedInner, TEdgeSides::TopLeft);
    r.adjust(1, 1, 0, 0);
    drawEdge(painter, r, TEdge::RaisedInner, TEdgeSides::BottomRight);
}

QRect paintBitButtonFace(QPainter& painter, QRect rect, const QColor& face, bool pressed)
{
    if (pressed) {
        drawOutlined(painter, rect, face, scheme(platform::COLOR_BTNSHADOW));
        return rect.adjusted(1, 1, -1, -1);
    }
    drawOutlined(painter, rect, face, scheme(platform::COLOR_WINDOWFRAME));
    drawEdge(painter, rect, TEdge::RaisedOuter, TEdgeSides::BottomRight);
    rect.adjust(0, 0, -1, -1);
    drawEdge(painter, rect, TEdge::RaisedInner, TEdgeSides::TopLeft);
    rect.adjust(1, 1, 0, 0);
    drawEdge(painter, rect, TEdge::RaisedInner, TEdgeSides::BottomRight);
    rect.adjust(0, 0, -1, -1);
    drawEdge(painter, rect, TEdge::RaisedOuter, TEdgeSides::TopLeft);
    return rect;
}

QImage exclusivePattern(const QColor& face)
{
    QImage pattern(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            pattern.setPixel(x, y, (x % 2 == y % 2) ? qRgb(255, 255, 255) : face.rgb());
    }
    return pattern;
}

void drawFocusRect(QPainter& painter, const QRect& rect)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QColor(255, 255, 255));
    // Every other pixel along the outline, counted from the top-left corner.
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    const auto dot = [&](int x, int y) {
        if ((x - l + y - t) % 2 == 0)
            painter.drawPoint(x, y);
    };
    for (int x = l; x <= r; ++x) {
        dot(x, t);
        if (b != t)
            dot(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        if (r != l)
            dot(r, y);
    }
    painter.restore();
}
