// Colour buttons: push buttons painted in a face colour of their own, with
// an optional picture beside a one-line caption.
#pragma once

#include "platform/Bitmap.h"

#include <QPushButton>
#include <QWidget>

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// A windowless-looking push button drawn on its parent's surface.
class TColorSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TColorSpeedButton(QWidget* parent = nullptr);
    ~TColorSpeedButton() override;

    bool AllowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool value);
    int GroupIndex() const { return groupIndex_; }
    void setGroupIndex(int value);
    bool Down() const { return down_; }
    void setDown(bool value);
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    // Face colour as a stored colour value (explicit RGB or scheme index).
    qint32 Color() const { return color_; }
    void setColor(qint32 color);
    // Caption colour as a stored colour value.
    qint32 FontColor() const { return fontColor_; }
    void setFontColor(qint32 color);
    // The picture itself: loading a file into it changes the button's picture.
    platform::TBitmap& Glyph() { return glyph_; }
    void setGlyph(const QImage& image);
    TButtonLayout Layout() const { return layout_; }
    void setLayout(TButtonLayout layout);
    int Margin() const { return margin_; }
    void setMargin(int margin);
    int NumGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int count);
    int Spacing() const { return spacing_; }
    void setSpacing(int spacing);
    void setHint(const QString& hint) { setToolTip(hint); }

    TButtonState State() const { return state_; }

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool allowAllUp_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    QString caption_;
    qint32 color_;
    qint32 fontColor_ = 0;
    platform::TBitmap glyph_;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int margin_ = -1;
    int numGlyphs_ = 1;
    int spacing_ = 4;
    TButtonState state_ = TButtonState::bsUp;
    bool dragging_ = false;
};

// A focusable push button drawn in a face colour of its own.
class TColorBitBtn : public QPushButton {
    Q_OBJECT
public:
    explicit TColorBitBtn(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    qint32 Color() const { return color_; }
    void setColor(qint32 color);
    platform::TBitmap& Glyph() { return glyph_; }
    void setGlyph(const QImage& image);
    void setHint(const QString& hint) { setToolTip(hint); }

private:
    qint32 color_;
    platform::TBitmap glyph_;
};
