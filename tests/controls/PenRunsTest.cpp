// The runs of a pen's line against the painter drawing the same line.
#include "controls/PenRuns.h"

#include "controls/ClockHands.h"
#include "desk/ClockFace.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <gtest/gtest.h>

TEST(PenRuns, FillingTheRunsDrawsWhatThePainterDrawsOrNothingForAPenThatBlends)
{
    const QImage face = controlboxglyphs::clockFace().convertToFormat(QImage::Format_RGB32);
    const QPoint centre(32, 25);
    QLinearGradient shaded(0, 0, 64, 51);
    shaded.setColorAt(0, Qt::red);
    shaded.setColorAt(1, Qt::blue);
    const struct {
        const char* name;
        QPen pen;
        int length; // past the edges, for a line the area cuts off
        bool blends;
    } cases[] = {
        { "the control box's second hand", QPen(Qt::white), 25, false },
        { "wide, past the edges", QPen(Qt::red, 3), 40, false },
        { "dashed, with square caps", QPen(Qt::green, 2, Qt::DashLine, Qt::SquareCap), 25, false },
        { "half transparent", QPen(QColor(255, 0, 0, 128)), 25, true },
        { "shaded", QPen(QBrush(shaded), 2), 25, true },
    };
    for (const auto& c : cases) {
        for (int second = 0; second < 60; ++second) {
            const QPoint end = secondHandEnd(centre, second, c.length);
            const std::optional<PenRuns> runs = lineRuns(face.size(), c.pen, centre, end);
            ASSERT_EQ(runs.has_value(), !c.blends) << c.name << " at " << second;
            if (!runs)
                continue;
            QImage painted = face;
            {
                QPainter painter(&painted);
                painter.setPen(c.pen);
                painter.drawLine(centre, end);
            }
            QImage filled = face;
            {
                QPainter painter(&filled);
                for (const QRect& run : runs->runs)
                    painter.fillRect(run, QColor::fromRgb(runs->colour));
            }
            ASSERT_FALSE(runs->runs.empty()) << c.name << " at " << second;
            EXPECT_EQ(filled, painted) << c.name << " at " << second;
        }
    }
}
