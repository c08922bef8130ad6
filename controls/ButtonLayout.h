// Where a button's picture and caption stand inside its content rectangle.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TButtonLayoutResult {
    QPoint GlyphPos; // top-left corner of the picture
    QRect TextBounds; // the caption's rectangle, its measured size
};

// Places a picture of size `glyph` and a caption of measured size `text`
// (either may be 0 x 0) in `client`. Margin -1 centres both together;
// spacing -1 centres the caption in the room left beside the picture.
// Divisions truncate toward zero, so sizes larger than the client still
// give the positions users have always seen.
TButtonLayoutResult CalcButtonLayout(
    const QRect& client, QSize glyph, QSize text, TButtonLayout layout, int margin, int spacing);
