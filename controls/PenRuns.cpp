// Runs of the pixels a pen's line covers.
#include "controls/PenRuns.h"

#include <QImage>
#include <QPainter>
#include <QPen>

std::optional<PenRuns> lineRuns(QSize area, const QPen& pen, QPoint from, QPoint to)
{
    // Drawn by the painter itself on a transparent picture, so the runs hold
    // exactly the pixels its drawing would cover.
    QImage drawn(area, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter painter(&drawn);
        painter.setPen(pen);
        painter.drawLine(from, to);
    }
    PenRuns found;
    bool coloured = false;
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        for (int x = 0; x < drawn.width();) {
            const QRgb pixel = row[x];
            if (qAlpha(pixel) == 0) {
                ++x;
                continue;
            }
            if (qAlpha(pixel) != 255 || (coloured && pixel != found.colour))
                return std::nullopt;
            found.colour = pixel;
            coloured = true;
            const int left = x;
            while (x < drawn.width() && row[x] == pixel)
                ++x;
            found.runs.emplace_back(left, y, x - left, 1);
        }
    }
    return found;
}
