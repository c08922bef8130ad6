// Layout of picture and caption.
#include "controls/ButtonLayout.h"

TButtonLayoutResult CalcButtonLayout(
    const QRect& client, QSize glyph, QSize text, TButtonLayout layout, int margin, int spacing)
{
    const int clientWidth = client.width();
    const int clientHeight = client.height();
    const bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    QPoint glyphPos;
    QPoint textPos;

    // The cross axis: both centred.
    if (horizontal) {
        glyphPos.setY((clientHeight - glyph.height() + 1) / 2);
        textPos.setY((clientHeight - text.height() + 1) / 2);
    } else {
        glyphPos.setX((clientWidth - glyph.width() + 1) / 2);
        textPos.setX((clientWidth - text.width() + 1) / 2);
    }

    if (text.width() == 0 || glyph.width() == 0)
        spacing = 0;

    // The main axis.
    const int room = horizontal ? clientWidth : clientHeight;
    const int glyphLength = horizontal ? glyph.width() : glyph.height();
    const int textLength = horizontal ? text.width() : text.height();
    if (margin == -1) {
        if (spacing == -1) {
            margin = (room - (glyphLength + textLength)) / 3;
            spacing = margin;
        } else {
            margin = (room - (glyphLength + spacing + textLength) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = ((room - (margin + glyphLength)) - textLength) / 2;
    }

    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        glyphPos.setX(margin);
        textPos.setX(glyphPos.x() + glyph.width() + spacing);
        break;
    case TButtonLayout::blGlyphRight:
        glyphPos.setX(clientWidth - margin - glyph.width());
        textPos.setX(glyphPos.x() - spacing - text.width());
        break;
    case TButtonLayout::blGlyphTop:
        glyphPos.setY(margin);
        textPos.setY(glyphPos.y() + glyph.height() + spacing);
        break;
    case TButtonLayout::blGlyphBottom:
        glyphPos.setY(clientHeight - margin - glyph.height());
        textPos.setY(glyphPos.y() - spacing - text.height());
        break;
    }

    const QPoint origin = client.topLeft();
    return { glyphPos + origin, QRect(textPos + origin, text) };
}
