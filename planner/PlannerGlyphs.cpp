// Planner pictures drawn in code.
#include "planner/PlannerGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace planner_glyphs {

namespace {

// Outlines stay off pure black, which a button may take for its background.
const QColor ink(24, 24, 40);

QImage blank()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage arrow(bool left)
{
    QImage image = blank();
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    const QPolygon triangle = left ? QPolygon({ QPoint(4, 8), QPoint(10, 2), QPoint(10, 14) })
                                   : QPolygon({ QPoint(11, 8), QPoint(5, 2), QPoint(5, 14) });
    p.drawPolygon(triangle);
    return image;
}

} // namespace

QImage arrowLeft() { return arrow(true); }

QImage arrowRight() { return arrow(false); }

QImage refresh()
{
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 270 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 128, 0));
    p.drawPolygon(QPolygonF({ QPointF(9, 0.5), QPointF(14, 3.5), QPointF(9, 7) }));
    return image;
}

QImage clearDay()
{
    QImage image = blank();
    QPainter p(&image);
    p.setPen(ink);
    p.setBrush(QColor(255, 255, 225));
    p.drawRect(2, 1, 10, 13);
    p.setPen(QColor(128, 128, 128));
    for (int y = 4; y <= 11; y += 3)
        p.drawLine(4, y, 10, y);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(7, 7, 14, 14);
    p.drawLine(14, 7, 7, 14);
    return image;
}

QList<QImage> treeImages()
{
    QList<QImage> images;
    { // year: a closed book
        QImage image = blank();
        QPainter p(&image);
        p.setPen(ink);
        p.setBrush(QColor(0, 0, 160));
        p.drawRect(3, 1, 10, 13);
        p.setBrush(QColor(240, 240, 240));
        p.drawRect(3, 12, 10, 2);
        images.append(image);
    }
    { // month: a calendar sheet with a red top
        QImage image = blank();
        QPainter p(&image);
        p.setPen(ink);
        p.setBrush(Qt::white);
        p.drawRect(1, 2, 13, 12);
        p.fillRect(2, 3, 12, 3, QColor(200, 0, 0));
        p.setPen(QColor(128, 128, 128));
        for (int y = 8; y <= 12; y += 2)
            for (int x = 3; x <= 12; x += 3)
                p.drawPoint(x, y);
        images.append(image);
    }
    { // user: head and shoulders
        QImage image = blank();
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(ink);
        p.setBrush(QColor(0, 128, 128));
        p.drawEllipse(QRectF(2.5, 9.5, 11, 9));
        p.setBrush(QColor(255, 204, 153));
        p.drawEllipse(QRectF(4.5, 1.5, 7, 7));
        images.append(image);
    }
    { // day: a single page
        QImage image = blank();
        QPainter p(&image);
        p.setPen(ink);
        p.setBrush(QColor(255, 255, 225));
        p.drawRect(3, 1, 9, 13);
        p.setPen(QColor(0, 0, 128));
        for (int y = 4; y <= 11; y += 2)
            p.drawLine(5, y, 10, y);
        images.append(image);
    }
    return images;
}

QList<QImage> listImages()
{
    QList<QImage> images;
    for (bool done : { false, true }) {
        QImage image = blank();
        QPainter p(&image);
        p.setPen(ink);
        p.setBrush(Qt::white);
        p.drawRect(2, 3, 10, 10);
        if (done) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(0, 128, 0), 2));
            p.drawPolyline(QPolygonF({ QPointF(4, 8), QPointF(7, 11), QPointF(13, 2) }));
        }
        images.append(image);
    }
    { // Meetings: two people
        QImage image = blank();
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(ink);
        p.setBrush(QColor(0, 0, 192));
        p.drawEllipse(QRectF(0.5, 9.5, 8, 6));
        p.drawEllipse(QRectF(2.5, 4.5, 4, 4));
        p.setBrush(QColor(192, 0, 0));
        p.drawEllipse(QRectF(7.5, 9.5, 8, 6));
        p.drawEllipse(QRectF(9.5, 4.5, 4, 4));
        images.append(image);
    }
    { // Tasks: a check list
        QImage image = blank();
        QPainter p(&image);
        p.setPen(ink);
        p.setBrush(Qt::white);
        p.drawRect(2, 1, 11, 14);
        p.setPen(QColor(0, 128, 0));
        for (int y = 4; y <= 12; y += 4) {
            p.drawLine(4, y, 5, y + 1);
            p.drawLine(5, y + 1, 7, y - 1);
        }
        p.setPen(QColor(128, 128, 128));
        for (int y = 4; y <= 12; y += 4)
            p.drawLine(9, y, 11, y);
        images.append(image);
    }
    { // Projects: a folder
        QImage image = blank();
        QPainter p(&image);
        p.setPen(ink);
        p.setBrush(QColor(255, 204, 0));
        p.drawPolygon(
            QPolygon({ QPoint(1, 3), QPoint(6, 3), QPoint(7, 5), QPoint(14, 5), QPoint(14, 13), QPoint(1, 13) }));
        images.append(image);
    }
    { // Phone: a handset
        QImage image = blank();
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(ink);
        p.setBrush(QColor(160, 0, 0));
        p.drawRoundedRect(QRectF(1.5, 3.5, 13, 4), 2, 2);
        p.drawRect(QRectF(4.5, 7.5, 7, 6));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6.5, 8.5, 3, 3));
        images.append(image);
    }
    return images;
}

} // namespace planner_glyphs
