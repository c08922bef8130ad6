// Where picture and caption stand inside a button's content rectangle.
#include "controls/ButtonLayout.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
    const char* name;
    QRect client;
    QSize glyph;
    QSize text;
    TButtonLayout layout;
    int margin;
    int spacing;
    QPoint glyphPos;
    QPoint textPos;
};

const LayoutCase layoutCases[] = {
    // A launcher gadget (161 x 33): the content rectangle is 158 x 30 at (1, 1).
    { "left, centred together", { 1, 1, 158, 30 }, { 16, 16 }, { 50, 13 }, TButtonLayout::blGlyphLeft, -1, 4, { 45, 8 },
        { 65, 10 } },
    { "right, centred together", { 1, 1, 158, 30 }, { 16, 16 }, { 50, 13 }, TButtonLayout::blGlyphRight, -1, 4,
        { 99, 8 }, { 45, 10 } },
    { "top, centred together", { 0, 0, 60, 50 }, { 16, 16 }, { 30, 13 }, TButtonLayout::blGlyphTop, -1, 4, { 22, 9 },
        { 15, 29 } },
    { "bottom, centred together", { 0, 0, 60, 50 }, { 16, 16 }, { 30, 13 }, TButtonLayout::blGlyphBottom, -1, 4,
        { 22, 25 }, { 15, 8 } },
    { "margin and spacing both -1 share the room in thirds", { 0, 0, 100, 20 }, { 16, 16 }, { 30, 13 },
        TButtonLayout::blGlyphLeft, -1, -1, { 18, 2 }, { 52, 4 } },
    { "thirds vertically", { 0, 0, 40, 90 }, { 16, 16 }, { 20, 13 }, TButtonLayout::blGlyphTop, -1, -1, { 12, 20 },
        { 10, 56 } },
    { "given margin, spacing -1 centres the caption beside the picture", { 0, 0, 100, 20 }, { 16, 16 }, { 30, 13 },
        TButtonLayout::blGlyphLeft, 5, -1, { 5, 2 }, { 45, 4 } },
    { "given margin on the right", { 0, 0, 100, 20 }, { 16, 16 }, { 30, 13 }, TButtonLayout::blGlyphRight, 5, -1,
        { 79, 2 }, { 25, 4 } },
    { "given margin and spacing", { 0, 0, 100, 20 }, { 16, 16 }, { 30, 13 }, TButtonLayout::blGlyphLeft, 3, 2, { 3, 2 },
        { 21, 4 } },
    { "no caption: the picture is centred, spacing ignored", { 1, 1, 158, 30 }, { 16, 16 }, { 0, 0 },
        TButtonLayout::blGlyphLeft, -1, 4, { 72, 8 }, { 88, 16 } },
    { "no caption with spacing -1 also centres the picture", { 0, 0, 100, 20 }, { 16, 16 }, { 0, 0 },
        TButtonLayout::blGlyphLeft, -1, -1, { 42, 2 }, { 58, 10 } },
    { "no picture: the caption is centred", { 1, 1, 158, 30 }, { 0, 0 }, { 50, 13 }, TButtonLayout::blGlyphRight, -1, 4,
        { 105, 16 }, { 55, 10 } },
    { "the control box's main screen button, picture at the bottom", { 1, 1, 27, 40 }, { 20, 16 }, { 0, 0 },
        TButtonLayout::blGlyphBottom, -1, 4, { 5, 13 }, { 15, 13 } },
    // Divisions of negative numbers truncate toward zero.
    { "a button too small for its content", { 0, 0, 10, 10 }, { 16, 16 }, { 30, 13 }, TButtonLayout::blGlyphLeft, -1, 4,
        { -19, -2 }, { 1, -1 } },
};

} // namespace

TEST(ButtonLayout, PlacesPictureAndCaptionAsWorkedOut)
{
    for (const LayoutCase& c : layoutCases) {
        SCOPED_TRACE(c.name);
        const TButtonLayoutResult result = CalcButtonLayout(c.client, c.glyph, c.text, c.layout, c.margin, c.spacing);
        EXPECT_EQ(result.GlyphPos, c.glyphPos);
        EXPECT_EQ(result.TextBounds.topLeft(), c.textPos);
        EXPECT_EQ(result.TextBounds.size(), c.text);
    }
}
