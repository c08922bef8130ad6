// Pictures of the editor's buttons.
#include "editor/EditorGlyphs.h"

#include <QPainter>
#include <QPolygon>

namespace editorglyphs {

namespace {

const QColor background(192, 192, 192);
const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor grey(128, 128, 128);
const QColor navy(0, 0, 128);

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

} // namespace

QImage floppyDisk()
{
    QImage image = blank(16, 16);
    QPainter p(&image);
    // Body with the cut corner at the top right.
    p.setPen(black);
    p.setBrush(navy);
    p.drawPolygon(QPolygon({ QPoint(1, 1), QPoint(13, 1), QPoint(14, 2), QPoint(14, 14), QPoint(1, 14) }));
    // Label with three written lines.
    p.fillRect(3, 2, 9, 6, white);
    p.fillRect(4, 3, 7, 1, grey);
    p.fillRect(4, 5, 7, 1, grey);
    // Metal shutter with its window.
    p.fillRect(4, 10, 8, 4, background);
    p.fillRect(9, 11, 2, 2, navy);
    return image;
}

QImage fontLetters()
{
    QImage image = blank(18, 16);
    QPainter p(&image);
    auto bigF = [&](int x, const QColor& colour) {
        p.fillRect(x, 3, 2, 11, colour); // stem
        p.fillRect(x, 3, 6, 2, colour); // top bar
        p.fillRect(x, 8, 5, 2, colour); // middle bar
    };
    bigF(0, black);
    // A small f: stem, hooked top and cross bar.
    p.fillRect(8, 8, 2, 6, Qt::red);
    p.fillRect(9, 6, 3, 2, Qt::red);
    p.fillRect(7, 9, 4, 1, Qt::red);
    bigF(12, navy);
    return image;
}

QImage openFolder()
{
    QImage image = blank(16, 16);
    QPainter p(&image);
    p.setPen(black);
    // Back of the folder with its tab.
    p.setBrush(QColor(128, 128, 0));
    p.drawPolygon(QPolygon({ QPoint(1, 3), QPoint(5, 3), QPoint(6, 4), QPoint(12, 4), QPoint(12, 13), QPoint(1, 13) }));
    // The opened front flap, tilted forward.
    p.setBrush(QColor(255, 255, 0));
    p.drawPolygon(QPolygon({ QPoint(4, 7), QPoint(15, 7), QPoint(12, 13), QPoint(1, 13) }));
    return image;
}

QImage palette()
{
    QImage image = blank(16, 16);
    QPainter p(&image);
    p.setPen(QColor(128, 64, 0));
    p.setBrush(QColor(230, 200, 140));
    p.drawEllipse(QRect(0, 2, 15, 12));
    // Thumb hole, showing the background.
    p.setPen(QColor(128, 64, 0));
    p.setBrush(background);
    p.drawEllipse(QRect(9, 8, 3, 3));
    // Paint blobs.
    p.setPen(Qt::NoPen);
    p.fillRect(3, 5, 2, 2, Qt::red);
    p.fillRect(6, 4, 2, 2, QColor(0, 160, 0));
    p.fillRect(10, 4, 2, 2, Qt::blue);
    p.fillRect(3, 9, 2, 2, QColor(255, 255, 0));
    p.fillRect(5, 11, 2, 2, QColor(255, 0, 255));
    return image;
}

} // namespace editorglyphs
