// Colour speed button.
#include "controls/Colorbut.h"

#include "controls/Panel.h"
#include "platform/Guard.h"
#include "platform/SystemColors.h"

#include <QMouseEvent>
#include <QPainter>

TColorSpeedButton::TColorSpeedButton(QWidget* parent) : QWidget(parent), color_(platform::clBtnFace)
{
    resize(25, 25);
    setAttribute(Qt::WA_OpaquePaintEvent);
    glyph_.OnChange = [this] { update(); };
}

TColorSpeedButton::~TColorSpeedButton() = default;

void TColorSpeedButton::setAllowAllUp(bool value) { allowAllUp_ = value; }

void TColorSpeedButton::setGroupIndex(int value) { groupIndex_ = value; }

void TColorSpeedButton::setDown(bool value)
{
    if (groupIndex_ == 0)
        value = false;
    if (value == down_ || (down_ && !allowAllUp_))
        return;
    down_ = value;
    state_ = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
    update();
}

void TColorSpeedButton::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TColorSpeedButton::setColor(qint32 color)
{
    if (color == color_)
        return;
    color_ = color;
    update();
}

void TColorSpeedButton::setFontColor(qint32 color)
{
    fontColor_ = color;
    update();
}

void TColorSpeedButton::setGlyph(const QImage& image)
{
    if (image.height() > 0 && image.width() % image.height() == 0) {
        const int count = image.width() / image.height();
        numGlyphs_ = count > 4 ? 1 : count;
    }
    glyph_.Assign(image);
}

void TColorSpeedButton::setLayout(TButtonLayout layout)
{
    layout_ = layout;
    update();
}

void TColorSpeedButton::setMargin(int margin)
{
    if (margin < -1)
        return;
    margin_ = margin;
    update();
}

void TColorSpeedButton::setNumGlyphs(int count)
{
    if (count > 4)
        count = 4;
    if (count <= 0)
        return;
    numGlyphs_ = count;
    update();
}

void TColorSpeedButton::setSpacing(int spacing)
{
    spacing_ = spacing;
    update();
}

void TColorSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor face = platform::ColorToRGB(color_);
    QRect r = rect();
    const bool sunken = state_ == TButtonState::bsDown || state_ == TButtonState::bsExclusive;
    painter.fillRect(r, face);
    if (sunken) {
        frame3D(painter, r, platform::sysColor(platform::COLOR_BTNSHADOW), platform::sysColor(platform::COLOR_BTNHIGHLIGHT));
    } else {
        frame3D(painter, r, platform::sysColor(platform::COLOR_BTNHIGHLIGHT), platform::sysColor(platform::COLOR_3DDKSHADOW));
    }
    QRect content(1, 1, width() - 3, height() - 3);
    if (sunken)
        content.translate(1, 1);
    QImage picture;
    if (!glyph_.Empty())
        picture = glyph_.image().copy(0, 0, glyph_.Width() / numGlyphs_, glyph_.Height());
    const int textWidth = caption_.isEmpty() ? 0 : fontMetrics().horizontalAdvance(caption_);
    const int spacing = (caption_.isEmpty() || picture.isNull()) ? 0 : spacing_;
    const int total = picture.width() + spacing + textWidth;
    int x = content.left() + (content.width() - total + 1) / 2;
    if (!picture.isNull()) {
        const int pictureX = layout_ == TButtonLayout::blGlyphRight ? x + textWidth + spacing : x;
        painter.drawImage(pictureX, content.top() + (content.height() - picture.height() + 1) / 2, picture);
        if (layout_ != TButtonLayout::blGlyphRight)
            x += picture.width() + spacing;
    }
    painter.setFont(font());
    painter.setPen(isEnabled() ? platform::ColorToRGB(fontColor_) : QColor(128, 128, 128));
    painter.drawText(QRect(x, content.top(), textWidth, content.height()), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, caption_);
}

void TColorSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    dragging_ = true;
    if (!down_) {
        state_ = TButtonState::bsDown;
        update();
    }
}

void TColorSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    TButtonState wanted = down_ ? TButtonState::bsExclusive : (inside ? TButtonState::bsDown : TButtonState::bsUp);
    if (wanted != state_) {
        state_ = wanted;
        update();
    }
}

void TColorSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    const bool inside = rect().contains(event->position().toPoint());
    state_ = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
    update();
    if (inside)
        platform::guarded([this] { emit clicked(); });
}

void TColorSpeedButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (down_)
        platform::guarded([this] { emit doubleClicked(); });
}

void TColorSpeedButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        state_ = isEnabled() ? (down_ && groupIndex_ != 0 ? TButtonState::bsExclusive : TButtonState::bsUp)
                             : TButtonState::bsDisabled;
        if (!isEnabled())
            dragging_ = false;
        update();
    }
    QWidget::changeEvent(event);
}

TColorBitBtn::TColorBitBtn(QWidget* parent) : QPushButton(parent), color_(platform::clBtnFace) {}

void TColorBitBtn::setColor(qint32 color)
{
    color_ = color;
    update();
}

void TColorBitBtn::setGlyph(const QImage& image) { glyph_.Assign(image); }
