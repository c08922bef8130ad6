// Colour buttons: push buttons painted in a face colour of their own, with
// an optional picture beside a one-line caption.
#pragma once

#include "controls/ButtonGlyph.h"
#include "controls/ButtonLayout.h"
#include "platform/Bitmap.h"

#include <QImage>
#include <QPushButton>
#include <QWidget>

class QShortcut;

// The properties both colour buttons share: the face colour, the picture
// and where it lies beside the caption. `Base` is the toolkit widget the
// button is made from.
template <class Base> class TColorButtonProperties : public Base {
public:
    // Face colour as a stored colour value (explicit RGB or scheme index).
    qint32 Color() const { return color_; }
    void setColor(qint32 color);
    // The picture itself: loading a file into it changes the button's picture
    // and keeps NumGlyphs.
    platform::TBitmap& Glyph() { return glyph_.Glyph(); }
    TButtonLayout Layout() const { return layout_; }
    void setLayout(TButtonLayout layout);
    int Margin() const { return margin_; }
    // Values below -1 are refused.
    void setMargin(int margin);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void setNumGlyphs(int count) { glyph_.SetNumGlyphs(count); }
    int Spacing() const { return spacing_; }
    void setSpacing(int spacing);
    void setHint(const QString& hint) { this->setToolTip(hint); }
    // The Enabled property of this button alone; a disabled parent only
    // stops its input.
    bool Enabled() const { return !this->testAttribute(Qt::WA_ForceDisabled); }
    // The picture object, for callers that look at its images.
    const TButtonGlyph& GlyphObject() const { return glyph_; }

protected:
    explicit TColorButtonProperties(QWidget* parent);
    ~TColorButtonProperties() override;
    // Enabled, font and colour-scheme changes repaint; a scheme change also
    // drops the picture's images.
    void changeEvent(QEvent* event) override;

    qint32 color_;
    TButtonGlyph glyph_;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};

extern template class TColorButtonProperties<QWidget>;
extern template class TColorButtonProperties<QPushButton>;

// A windowless-looking push button drawn on its parent's surface. In a
// group (GroupIndex not 0) it toggles, and at most one of the group's
// buttons on the same parent is down.
class TColorSpeedButton : public TColorButtonProperties<QWidget> {
    Q_OBJECT
public:
    explicit TColorSpeedButton(QWidget* parent = nullptr);

    bool AllowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool value);
    int GroupIndex() const { return groupIndex_; }
    void setGroupIndex(int value);
    bool Down() const { return down_; }
    // Ignored without a group, and when it would release the group's last
    // down button while AllowAllUp is false.
    void setDown(bool value);
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    // Caption colour as a stored colour value.
    qint32 FontColor() const { return fontColor_; }
    void setFontColor(qint32 color);
    // Sets the picture; its width and height decide NumGlyphs.
    void setGlyph(const QImage& image) { glyph_.SetGlyph(image); }

    TButtonState State() const { return state_; }

    // A character the form passes on: the caption's accelerator clicks an
    // enabled button. Returns whether the character was used.
    bool DialogChar(QChar character);

signals:
    void clicked();
    void doubleClicked();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void click();
    void updateExclusive();
    void buttonPressed(const TColorSpeedButton& sender);
    void grabAccelerator();
    // The window's first enabled, visible button (in order of creation) with this accelerator.
    TColorSpeedButton* firstWithAccelerator(QChar accelerator) const;

    bool allowAllUp_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    QString caption_;
    qint32 fontColor_ = 0;
    TButtonState state_ = TButtonState::bsUp;
    bool dragging_ = false;
    int acceleratorId_ = 0;
    // The exclusive state's pattern and the face colour it was made from.
    QImage pattern_;
    QColor patternColor_;
};

enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// A focusable push button drawn in a face colour of its own; it can take
// one of the predefined kinds (caption, picture, result) or toggle.
class TColorBitBtn : public TColorButtonProperties<QPushButton> {
    Q_OBJECT
public:
    explicit TColorBitBtn(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    // Sets the picture by hand: the button no longer is of a predefined kind.
    void setGlyph(const QImage& image);

    // Each left press toggles a down look that stays until the next press.
    bool AllowDown() const { return allowDown_; }
    void setAllowDown(bool value);
    // The toggle state while AllowDown is set.
    bool Toggled() const { return toggled_; }
    bool FocusVisible() const { return focusVisible_; }
    void setFocusVisible(bool value);
    // Enter in the form clicks the default button, Escape the cancel button.
    bool Default() const { return default_; }
    void setDefault(bool value);
    bool Cancel() const { return cancel_; }
    void setCancel(bool value);
    int ModalResult() const { return modalResult_; }
    void setModalResult(int value) { modalResult_ = value; }
    // Reads bkCustom from the moment Default, Cancel or ModalResult no
    // longer match the kind, or the picture was set by hand.
    TBitBtnKind Kind() const;
    void setKind(TBitBtnKind kind);
    TButtonStyle Style() const { return style_; }
    void setStyle(TButtonStyle style);
    using QWidget::setStyle;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Focused, or the default button while no push button has the focus.
    bool isFocusedOrDefault() const;
    void afterClick();
    void keyShortcuts();

    bool allowDown_ = false;
    bool toggled_ = false;
    bool focusVisible_ = true;
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
    mutable TBitBtnKind kind_ = TBitBtnKind::bkCustom;
    bool modifiedGlyph_ = false;
    TButtonStyle style_ = TButtonStyle::bsAutoDetect;
    // Window-wide keys of a default or cancel button, owned by the button.
    QShortcut* enterKey_ = nullptr;
    QShortcut* keypadEnterKey_ = nullptr;
    QShortcut* escapeKey_ = nullptr;
};
