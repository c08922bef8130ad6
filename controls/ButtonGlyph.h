// A button's picture: the source bitmap, its per-state images in the shared
// image lists, and the drawing of picture and caption.
#pragma once

#include "controls/ButtonLayout.h"
#include "platform/Bitmap.h"

#include <QColor>
#include <QString>
#include <array>
#include <functional>

class QPainter;
class TGlyphList;

enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TButtonGlyph final {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    // The source picture itself; loading into it keeps the glyph count.
    platform::TBitmap& Glyph() { return original_; }
    const platform::TBitmap& Glyph() const { return original_; }
    // Sets the picture; a picture 1 to 4 times as wide as high also sets
    // the glyph count (a wider one sets it to 1).
    void SetGlyph(const QImage& image);

    int NumGlyphs() const { return numGlyphs_; }
    // Values above 4 are cut to 4; 0 and below are refused.
    void SetNumGlyphs(int count);

    QColor TransparentColor() const { return transparentColor_; }

    // The index in ImageList() of the image for `state` on face `face`,
    // made on first need; -1 for an empty picture.
    int CreateButtonGlyph(TButtonState state, const QColor& face);
    // The list holding this picture's images, null before any is made.
    TGlyphList* ImageList() const { return glyphList_; }

    // Draws picture and caption inside `client`, with the painter's font;
    // the caption in `textColor` unless disabled.
    void Draw(QPainter& painter, const QRect& client, const QString& caption, TButtonLayout layout, int margin,
        int spacing, TButtonState state, const QColor& face, const QColor& textColor);

    // Drops every per-state image and lets go of the image list.
    void Invalidate();

    // Called whenever the picture's content changes.
    std::function<void()> OnChange;

private:
    void pictureChanged();
    QImage makeImage(int state, const QColor& face) const;

    platform::TBitmap original_;
    TGlyphList* glyphList_ = nullptr;
    std::array<int, 4> indexes_ { -1, -1, -1, -1 };
    QColor transparentColor_ { 0, 128, 128 };
    int numGlyphs_ = 1;
};

// The caption's measured size: single line, the accelerator's & not counted.
QSize captionSize(const QFontMetrics& metrics, const QString& caption);
