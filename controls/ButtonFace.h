// The faces of the colour buttons: classic 3-D edges, the pattern of a
// button held down in a group, the dotted focus rectangle.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

enum class TEdge {
    RaisedOuter, // light at top and left, dark shadow at bottom and right
    RaisedInner, // highlight at top and left, shadow at bottom and right
    SunkenOuter, // shadow at top and left, highlight at bottom and right
    SunkenInner, // dark shadow at top and left, light at bottom and right
};
enum class TEdgeSides { TopLeft, BottomRight };

// One-pixel edge lines along two sides of `rect`, each the side's full length.
void drawEdge(QPainter& painter, const QRect& rect, TEdge edge, TEdgeSides sides);

// Fills `rect` with `fill` and outlines it in `pen`.
void drawOutlined(QPainter& painter, const QRect& rect, const QColor& fill, const QColor& pen);

// The speed button's face on its whole rectangle: raised (up, disabled)
// or sunken (down, exclusive).
void paintSpeedButtonFace(QPainter& painter, const QRect& rect, const QColor& face, bool sunken);

// The bit button's face: pressed is a flat face outlined in the shadow
// colour, otherwise outlined in the window-frame colour with two raised
// edges. Returns the rectangle left inside.
QRect paintBitButtonFace(QPainter& painter, QRect rect, const QColor& face, bool pressed);

// The 8 x 8 pattern of a button held down in a group: `face`, with white
// where row and column have the same parity.
QImage exclusivePattern(const QColor& face);

// The dotted focus rectangle, drawn by inverting every other pixel of its outline.
void drawFocusRect(QPainter& painter, const QRect& rect);
