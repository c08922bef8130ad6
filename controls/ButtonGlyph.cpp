// Button pictures: per-state images and the drawing of picture and caption.
#include "controls/ButtonGlyph.h"

#include "controls/GlyphCache.h"
#include "platform/SystemColors.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int upImage = int(TButtonState::bsUp);
constexpr int disabledImage = int(TButtonState::bsDisabled);
constexpr int downImage = int(TButtonState::bsDown);
constexpr int exclusiveImage = int(TButtonState::bsExclusive);

QRgb rgbOf(const QColor& colour) { return colour.rgb() & RGB_MASK; }

// Applies `change` to every pixel of a 32-bit image.
template <class Change> void forEachPixel(QImage& image, Change change)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = change(line[x] & RGB_MASK) | 0xFF000000u;
    }
}

constexpr int textFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;

} // namespace

QSize captionSize(const QFontMetrics& metrics, const QString& caption)
{
    if (caption.isEmpty())
        return { 0, 0 };
    return metrics.size(Qt::TextSingleLine | Qt::TextShowMnemonic, caption);
}

TButtonGlyph::TButtonGlyph()
{
    TGlyphCache::pictureCreated();
    original_.OnChange = [this] { pictureChanged(); };
}

TButtonGlyph::~TButtonGlyph()
{
    original_.OnChange = nullptr;
    Invalidate();
    TGlyphCache::pictureDestroyed();
}

void TButtonGlyph::pictureChanged()
{
    if (!original_.Empty()) {
        const QImage& picture = original_.image();
        transparentColor_ = picture.pixelColor(0, picture.height() - 1).toRgb();
        transparentColor_.setAlpha(255);
    }
    Invalidate();
    if (OnChange)
        OnChange();
}

void TButtonGlyph::SetGlyph(const QImage& image)
{
    Invalidate();
    original_.Assign(image);
    if (image.height() > 0 && image.width() % image.height() == 0) {
        const int count = image.width() / image.height();
        SetNumGlyphs(count > 4 ? 1 : count);
    }
}

void TButtonGlyph::SetNumGlyphs(int count)
{
    if (count > 4)
        count = 4;
    if (count > 0 && count != numGlyphs_) {
        Invalidate();
        numGlyphs_ = count;
        if (OnChange)
            OnChange();
    }
}

void TButtonGlyph::Invalidate()
{
    for (int& index : indexes_) {
        if (index >= 0 && glyphList_)
            glyphList_->Delete(index);
        index = -1;
    }
    if (glyphList_) {
        if (TGlyphCache* cache = TGlyphCache::instance())
            cache->ReturnList(glyphList_);
        glyphList_ = nullptr;
    }
}

QImage TButtonGlyph::makeImage(int state, const QColor& face) const
{
    const QImage& picture = original_.image();
    const int width = picture.width() / numGlyphs_;
    const int height = picture.height();
    const int cell = state < numGlyphs_ ? state : 0;
    QImage image = picture.copy(cell * width, 0, width, height).convertToFormat(QImage::Format_RGB32);
    const QRgb transparent = rgbOf(transparentColor_);
    const QRgb background = rgbOf(face);

    if (state != disabledImage) {
        if (state != exclusiveImage)
            forEachPixel(image, [&](QRgb p) { return p == transparent ? background : p; });
        return image;
    }

    const QRgb highlight = rgbOf(platform::sysColor(platform::COLOR_BTNHIGHLIGHT));
    const QRgb shadow = rgbOf(platform::sysColor(platform::COLOR_BTNSHADOW));
    if (numGlyphs_ > 1) {
        forEachPixel(image, [&](QRgb p) {
            if (p == transparent)
                return background;
            if (p == (qRgb(255, 255, 255) & RGB_MASK))
                return highlight;
            if (p == (qRgb(128, 128, 128) & RGB_MASK))
                return shadow;
            return p;
        });
        return image;
    }

    // One image: its black pixels embossed, highlight one pixel right and
    // down, shadow in place, on the face colour.
    const QImage source = image;
    image.fill(face);
    const auto paintSet = [&](int dx, int dy, QRgb colour) {
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                const int tx = x + dx, ty = y + dy;
                if ((line[x] & RGB_MASK) == 0 && tx < width && ty < height)
                    image.setPixel(tx, ty, colour | 0xFF000000u);
            }
        }
    };
    paintSet(1, 1, highlight);
    paintSet(0, 0, shadow);
    return image;
}

int TButtonGlyph::CreateButtonGlyph(TButtonState state, const QColor& face)
{
    int wanted = int(state);
    if (wanted == downImage && numGlyphs_ < 3)
        wanted = upImage;
    if (indexes_[size_t(wanted)] >= 0)
        return indexes_[size_t(wanted)];
    if (original_.Empty())
        return -1;

    const int width = original_.Width() / numGlyphs_;
    if (width == 0)
        return -1;
    if (!glyphList_)
        glyphList_ = TGlyphCache::ensure().GetList(width, original_.Height());
    const QImage image = makeImage(wanted, face);
    indexes_[size_t(wanted)]
        = wanted == exclusiveImage ? glyphList_->AddMasked(image, transparentColor_) : glyphList_->Add(image);
    return indexes_[size_t(wanted)];
}

void TButtonGlyph::Draw(QPainter& painter, const QRect& client, const QString& caption, TButtonLayout layout,
    int margin, int spacing, TButtonState state, const QColor& face, const QColor& textColor)
{
    const QSize glyphSize = original_.Empty() ? QSize(0, 0) : QSize(original_.Width() / numGlyphs_, original_.Height());
    const TButtonLayoutResult placed
        = CalcButtonLayout(client, glyphSize, captionSize(painter.fontMetrics(), caption), layout, margin, spacing);

    const int index = CreateButtonGlyph(state, face);
    if (index >= 0)
        glyphList_->Draw(painter, index, placed.GlyphPos.x(), placed.GlyphPos.y());

    if (caption.isEmpty())
        return;
    painter.setBrush(Qt::NoBrush);
    if (state == TButtonState::bsDisabled) {
        painter.setPen(QColor(255, 255, 255));
        painter.drawText(placed.TextBounds.translated(1, 1), textFlags, caption);
        painter.setPen(QColor(128, 128, 128));
        painter.drawText(placed.TextBounds, textFlags, caption);
    } else {
        painter.setPen(textColor);
        painter.drawText(placed.TextBounds, textFlags, caption);
    }
}
