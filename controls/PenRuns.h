// The pixels a pen's line covers, as runs one pixel high of a single colour:
// what it takes to draw the line again without a painter.
#pragma once

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <optional>
#include <vector>

class QPen;

struct PenRuns {
    QRgb colour = 0;
    std::vector<QRect> runs; // row by row, top to bottom, each from left to right
};

// The pixels within `area` (its top left corner at 0, 0) that a painter with
// `pen` sets when it draws the line from `from` to `to`, when each of them
// takes the pen's one colour whole. Nothing for a pen that blends (one with
// some transparency, or several colours).
std::optional<PenRuns> lineRuns(QSize area, const QPen& pen, QPoint from, QPoint to);
