// Up-down control.
#include "controls/UpDown.h"

#include "platform/Guard.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace {

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent)
    , up_(arrowButton(this, Qt::UpArrow))
    , down_(arrowButton(this, Qt::DownArrow))
{
    up_->setAccessibleName(QStringLiteral("Up"));
    down_->setAccessibleName(QStringLiteral("Down"));
    connect(up_, &QToolButton::clicked, this, [this] { Step(TUDBtnType::btNext); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(TUDBtnType::btPrev); });
}

void TUpDown::setRange(int min, int max)
{
    min_ = min;
    max_ = std::max(min, max);
    setPosition(position_);
}

void TUpDown::setPosition(int value)
{
    position_ = std::clamp(value, min_, max_);
    showPosition();
}

void TUpDown::setAssociate(QLineEdit* edit)
{
    if (associate_)
        associate_->removeEventFilter(this);
    associate_ = edit;
    if (associate_)
        associate_->installEventFilter(this);
    showPosition();
}

void TUpDown::Step(TUDBtnType button)
{
    int next = position_ + (button == TUDBtnType::btNext ? 1 : -1);
    if (next > max_)
        next = wrap_ ? min_ : max_;
    else if (next < min_)
        next = wrap_ ? max_ : min_;
    setPosition(next);
    platform::guarded([this, button] { emit clicked(button); });
}

void TUpDown::showPosition()
{
    if (associate_)
        associate_->setText(QString::number(position_));
}

void TUpDown::resizeEvent(QResizeEvent*)
{
    const int upHeight = (height() + 1) / 2;
    up_->setGeometry(0, 0, width(), upHeight);
    down_->setGeometry(0, upHeight, width(), height() - upHeight);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == associate_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? TUDBtnType::btNext : TUDBtnType::btPrev);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
