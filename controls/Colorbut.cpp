// Colour speed button and colour push button.
#include "controls/Colorbut.h"

#include "controls/AccessibleControls.h"
#include "controls/ButtonFace.h"
#include "controls/KindGlyphs.h"
#include "platform/Guard.h"
#include "platform/SystemColors.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QtMath>

namespace {

// The character after the first single & of a caption ("&&" is a plain &).
QChar acceleratorOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1];
        ++i;
    }
    return {};
}

bool isInside(const QWidget& widget, const QMouseEvent& event)
{
    const int x = qFloor(event.position().x());
    const int y = qFloor(event.position().y());
    return x >= 0 && x < widget.width() && y >= 0 && y < widget.height();
}

// Stores a property and repaints the button when the value changes.
template <class Value> void setAndRepaint(QWidget& button, Value& field, Value value)
{
    if (field == value)
        return;
    field = value;
    button.update();
}

} // namespace

// ---------------------------------------------------------------------------
// TColorButtonProperties

template <class Base>
TColorButtonProperties<Base>::TColorButtonProperties(QWidget* parent)
    : Base(parent)
    , color_(platform::clBtnFace)
{
    this->setAttribute(Qt::WA_OpaquePaintEvent);
    glyph_.OnChange = [this] { this->update(); };
}

template <class Base> TColorButtonProperties<Base>::~TColorButtonProperties() { glyph_.OnChange = nullptr; }

template <class Base> void TColorButtonProperties<Base>::setColor(qint32 color)
{
    if (color == color_)
        return;
    color_ = color;
    glyph_.Invalidate();
    this->update();
}

template <class Base> void TColorButtonProperties<Base>::setLayout(TButtonLayout layout)
{
    setAndRepaint(*this, layout_, layout);
}

template <class Base> void TColorButtonProperties<Base>::setMargin(int margin)
{
    if (margin >= -1)
        setAndRepaint(*this, margin_, margin);
}

template <class Base> void TColorButtonProperties<Base>::setSpacing(int spacing)
{
    setAndRepaint(*this, spacing_, spacing);
}

template <class Base> void TColorButtonProperties<Base>::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
        glyph_.Invalidate();
        this->update();
        break;
    case QEvent::EnabledChange:
    case QEvent::FontChange:
        this->update();
        break;
    default:
        break;
    }
    Base::changeEvent(event);
}

template class TColorButtonProperties<QWidget>;
template class TColorButtonProperties<QPushButton>;

// ---------------------------------------------------------------------------
// TColorSpeedButton

TColorSpeedButton::TColorSpeedButton(QWidget* parent)
    : TColorButtonProperties(parent)
{
    resize(25, 25);
}

void TColorSpeedButton::setAllowAllUp(bool value)
{
    if (value == allowAllUp_)
        return;
    allowAllUp_ = value;
    updateExclusive();
}

void TColorSpeedButton::setGroupIndex(int value)
{
    if (value == groupIndex_)
        return;
    groupIndex_ = value;
    if (groupIndex_ == 0 && down_) {
        down_ = false;
        state_ = TButtonState::bsUp;
        update();
    }
    updateExclusive();
}

void TColorSpeedButton::setDown(bool value)
{
    if (groupIndex_ == 0)
        value = false;
    if (value == down_ || (down_ && !allowAllUp_))
        return;
    down_ = value;
    state_ = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
    update();
    if (down_)
        updateExclusive();
}

void TColorSpeedButton::updateExclusive()
{
    if (groupIndex_ == 0 || !parentWidget())
        return;
    const auto siblings = parentWidget()->findChildren<TColorSpeedButton*>(Qt::FindDirectChildrenOnly);
    for (TColorSpeedButton* sibling : siblings) {
        if (sibling != this)
            sibling->buttonPressed(*this);
    }
}

void TColorSpeedButton::buttonPressed(const TColorSpeedButton& sender)
{
    if (sender.groupIndex_ != groupIndex_)
        return;
    if (sender.down_ && down_) {
        down_ = false;
        state_ = TButtonState::bsUp;
        update();
    }
    allowAllUp_ = sender.allowAllUp_;
}

void TColorSpeedButton::setCaption(const QString& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    grabAccelerator();
    update();
    accessibility::announceNameChange(this);
}

void TColorSpeedButton::grabAccelerator()
{
    if (acceleratorId_ != 0)
        releaseShortcut(acceleratorId_);
    acceleratorId_ = 0;
    const QKeySequence accelerator = QKeySequence::mnemonic(caption_);
    if (!accelerator.isEmpty())
        acceleratorId_ = grabShortcut(accelerator);
}

bool TColorSpeedButton::DialogChar(QChar character)
{
    const QChar accelerator = acceleratorOf(caption_);
    if (accelerator.isNull() || accelerator.toUpper() != character.toUpper() || !Enabled())
        return false;
    click();
    return true;
}

void TColorSpeedButton::click()
{
    platform::guarded([this] { emit clicked(); });
}

void TColorSpeedButton::setFontColor(qint32 color) { setAndRepaint(*this, fontColor_, color); }

bool TColorSpeedButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        // Buttons sharing an accelerator would each get it in turn: the first
        // that can take it takes it every time.
        TColorSpeedButton* target = this;
        if (static_cast<QShortcutEvent*>(event)->isAmbiguous())
            target = firstWithAccelerator(acceleratorOf(caption_));
        if (target && target->Enabled())
            target->click();
        return true;
    }
    return QWidget::event(event);
}

TColorSpeedButton* TColorSpeedButton::firstWithAccelerator(QChar accelerator) const
{
    for (TColorSpeedButton* button : window()->findChildren<TColorSpeedButton*>()) {
        const QChar own = acceleratorOf(button->caption_);
        if (!own.isNull() && own.toUpper() == accelerator.toUpper() && button->isEnabled() && button->isVisible())
            return button;
    }
    return nullptr;
}

void TColorSpeedButton::paintEvent(QPaintEvent*)
{
    if (!Enabled()) {
        state_ = TButtonState::bsDisabled;
        dragging_ = false;
    } else if (state_ == TButtonState::bsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
    }

    QPainter painter(this);
    painter.setFont(font());
    const QColor face = platform::ColorToRGB(color_);
    const bool sunken = state_ == TButtonState::bsDown || state_ == TButtonState::bsExclusive;
    paintSpeedButtonFace(painter, rect(), face, sunken);

    QRect content(1, 1, width() - 3, height() - 3);
    if (sunken)
        content.translate(1, 1);
    if (state_ == TButtonState::bsExclusive) {
        // Made again when the colour has changed since, so a toggled button
        // never shows its old colour.
        if (pattern_.isNull() || patternColor_ != face) {
            pattern_ = exclusivePattern(face);
            patternColor_ = face;
        }
        painter.fillRect(content.adjusted(0, 0, -1, -1), QBrush(pattern_));
    }
    glyph_.Draw(painter, content, caption_, layout_, margin_, spacing_, state_, face, platform::ColorToRGB(fontColor_));
    // The focus is shown once the window's keys have moved it, never before:
    // a button nobody reached by key looks as it always has. Two dotted
    // rectangles side by side make a band that shows on a large face too.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        drawFocusRect(painter, rect().adjusted(2, 2, -2, -2));
        drawFocusRect(painter, rect().adjusted(3, 3, -3, -3));
    }
}

void TColorSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (!Enabled())
        return;
    if (!down_) {
        state_ = TButtonState::bsDown;
        update();
    }
    dragging_ = true;
}

void TColorSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    TButtonState wanted;
    if (isInside(*this, *event))
        wanted = down_ ? TButtonState::bsExclusive : TButtonState::bsDown;
    else
        wanted = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
    if (wanted != state_) {
        state_ = wanted;
        update();
    }
}

void TColorSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !dragging_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    const bool inside = isInside(*this, *event);
    state_ = TButtonState::bsUp;
    if (groupIndex_ != 0 && inside) {
        setDown(!down_);
        // Refused: the group's last down button stays down.
        if (down_)
            state_ = TButtonState::bsExclusive;
    } else if (down_) {
        state_ = TButtonState::bsExclusive;
    }
    update();
    if (inside)
        click();
}

void TColorSpeedButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && down_)
        platform::guarded([this] { emit doubleClicked(); });
    mousePressEvent(event);
}

// ---------------------------------------------------------------------------
// TColorBitBtn

namespace {

struct KindFacts {
    const char* caption;
    int modalResult;
    const char* picture;
};

// Indexed by TBitBtnKind; bkCustom has none.
constexpr KindFacts kindFacts[] = {
    { "", 0, "" },
    { "OK", 1, "BBOK" },
    { "Cancel", 2, "BBCANCEL" },
    { "&Help", 0, "BBHELP" },
    { "&Yes", 6, "BBYES" },
    { "&No", 7, "BBNO" },
    { "&Close", 0, "BBCLOSE" },
    { "Abort", 3, "BBABORT" },
    { "&Retry", 4, "BBRETRY" },
    { "&Ignore", 5, "BBIGNORE" },
    { "&All", 8, "BBALL" },
};

bool isDefaultKind(TBitBtnKind kind) { return kind == TBitBtnKind::bkOK || kind == TBitBtnKind::bkYes; }
bool isCancelKind(TBitBtnKind kind) { return kind == TBitBtnKind::bkCancel || kind == TBitBtnKind::bkNo; }

bool isEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

} // namespace

TColorBitBtn::TColorBitBtn(QWidget* parent)
    : TColorButtonProperties(parent)
{
    connect(this, &QAbstractButton::clicked, this, platform::guardedSlot([this] { afterClick(); }));
    // Whether this is the window's default button depends on where the focus is.
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (default_)
            update();
    });
}

void TColorBitBtn::setGlyph(const QImage& image)
{
    glyph_.SetGlyph(image);
    modifiedGlyph_ = true;
    update();
}

void TColorBitBtn::setAllowDown(bool value) { setAndRepaint(*this, allowDown_, value); }

void TColorBitBtn::setFocusVisible(bool value) { setAndRepaint(*this, focusVisible_, value); }

void TColorBitBtn::setDefault(bool value)
{
    if (value == default_)
        return;
    default_ = value;
    keyShortcuts();
    update();
}

void TColorBitBtn::setCancel(bool value)
{
    if (value == cancel_)
        return;
    cancel_ = value;
    keyShortcuts();
}

void TColorBitBtn::keyShortcuts()
{
    const auto arrange = [this](QShortcut*& key, Qt::Key code, bool wanted) {
        if (wanted && !key) {
            key = new QShortcut(QKeySequence(code), this);
            key->setContext(Qt::WindowShortcut);
            connect(key, &QShortcut::activated, this, [this, code] {
                const bool mine = code == Qt::Key_Escape || isFocusedOrDefault();
                if (mine && Enabled() && isVisible())
                    click();
            });
        } else if (!wanted && key) {
            delete key;
            key = nullptr;
        }
    };
    arrange(enterKey_, Qt::Key_Return, default_);
    arrange(keypadEnterKey_, Qt::Key_Enter, default_);
    arrange(escapeKey_, Qt::Key_Escape, cancel_);
}

TBitBtnKind TColorBitBtn::Kind() const
{
    if (kind_ != TBitBtnKind::bkCustom) {
        const KindFacts& facts = kindFacts[int(kind_)];
        if (default_ != isDefaultKind(kind_) || cancel_ != isCancelKind(kind_) || modalResult_ != facts.modalResult
            || modifiedGlyph_)
            kind_ = TBitBtnKind::bkCustom;
    }
    return kind_;
}

void TColorBitBtn::setKind(TBitBtnKind kind)
{
    if (kind == Kind())
        return;
    if (kind != TBitBtnKind::bkCustom) {
        const KindFacts& facts = kindFacts[int(kind)];
        setDefault(isDefaultKind(kind));
        setCancel(isCancelKind(kind));
        setText(QString::fromLatin1(facts.caption));
        modalResult_ = facts.modalResult;
        glyph_.SetGlyph(kindGlyph(QString::fromLatin1(facts.picture)));
        glyph_.SetNumGlyphs(2);
        modifiedGlyph_ = false;
    }
    kind_ = kind;
    update();
}

void TColorBitBtn::setStyle(TButtonStyle style) { setAndRepaint(*this, style_, style); }

// The window's focus widget, not the application's focus: the button keeps
// its look while its window is inactive.
bool TColorBitBtn::isFocusedOrDefault() const
{
    const QWidget* focus = window()->focusWidget();
    if (focus == this)
        return true;
    return default_ && !qobject_cast<const QPushButton*>(focus);
}

void TColorBitBtn::afterClick()
{
    switch (Kind()) {
    case TBitBtnKind::bkClose:
        window()->close();
        break;
    case TBitBtnKind::bkHelp:
        // The program has no help file to open.
        break;
    default:
        if (modalResult_ != 0) {
            if (auto* dialog = qobject_cast<QDialog*>(window()))
                dialog->done(modalResult_);
        }
        break;
    }
}

bool TColorBitBtn::event(QEvent* event)
{
    // A focused button takes Enter itself, before any default button's key.
    if (event->type() == QEvent::ShortcutOverride && hasFocus() && isEnterKey(static_cast<QKeyEvent*>(event)->key())) {
        event->accept();
        return true;
    }
    return QPushButton::event(event);
}

void TColorBitBtn::paintEvent(QPaintEvent*)
{
    const bool enabled = Enabled();
    bool pressed = isDown();
    TButtonState state = !enabled ? TButtonState::bsDisabled : pressed ? TButtonState::bsDown : TButtonState::bsUp;
    if (allowDown_ && enabled) {
        pressed = toggled_;
        state = toggled_ ? TButtonState::bsDown : TButtonState::bsUp;
    }
    const bool active = isFocusedOrDefault();

    QPainter painter(this);
    QRect r = rect();
    if (active || toggled_) {
        const QColor frame = platform::sysColor(platform::COLOR_WINDOWFRAME);
        painter.setPen(frame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    const QColor face = platform::ColorToRGB(color_);
    r = paintBitButtonFace(painter, r, face, pressed);
    if (active)
        r = rect().adjusted(1, 1, -1, -1);
    painter.setFont(font());
    if (pressed)
        r.translate(1, 1);
    glyph_.Draw(painter, r, text(), layout_, margin_, spacing_, state, face,
        palette().color(QPalette::Active, QPalette::ButtonText));
    if (focusVisible_ && active)
        drawFocusRect(painter, rect().adjusted(4, 4, -4, -4));
}

void TColorBitBtn::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && Enabled() && allowDown_) {
        toggled_ = !toggled_;
        update();
    }
    QPushButton::mousePressEvent(event);
}

void TColorBitBtn::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TColorBitBtn::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event->key()) && event->modifiers() == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}
