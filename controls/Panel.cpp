// Panel and shape painting.
#include "controls/Panel.h"

#include "platform/Guard.h"
#include "platform/SystemColors.h"

#include <QMouseEvent>
#include <QPainter>

void frame3D(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    painter.setPen(topLeft);
    painter.drawLine(l, b, l, t);
    painter.drawLine(l, t, r, t);
    painter.setPen(bottomRight);
    painter.drawLine(r, t, r, b);
    painter.drawLine(r, b, l, b);
    rect.adjust(1, 1, -1, -1);
}

TPanel::TPanel(QWidget* parent)
    : QWidget(parent)
    , color_(platform::ColorToRGB(platform::clBtnFace))
{
}

void TPanel::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void TPanel::setBevelOuter(TPanelBevel bevel)
{
    outer_ = bevel;
    update();
}

void TPanel::setBevelInner(TPanelBevel bevel)
{
    inner_ = bevel;
    update();
}

void TPanel::setBorderSingle(bool single)
{
    borderSingle_ = single;
    update();
}

void TPanel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TPanel::setAlignment(TPanelAlignment alignment)
{
    alignment_ = alignment;
    update();
}

void TPanel::setFontColor(const QColor& color)
{
    fontColor_ = color;
    update();
}

void TPanel::place(QWidget* child, int left, int top, int width, int height) const
{
    child->setGeometry(left + borderWidth(), top + borderWidth(), width, height);
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect rect = this->rect();
    if (borderSingle_)
        frame3D(painter, rect, Qt::black, Qt::black);
    const QColor highlight = platform::sysColor(platform::COLOR_BTNHIGHLIGHT);
    const QColor shadow = platform::sysColor(platform::COLOR_BTNSHADOW);
    auto bevel = [&](TPanelBevel kind) {
        if (kind == TPanelBevel::bvRaised)
            frame3D(painter, rect, highlight, shadow);
        else if (kind == TPanelBevel::bvLowered)
            frame3D(painter, rect, shadow, highlight);
    };
    bevel(outer_);
    bevel(inner_);
    painter.fillRect(rect, color_);
    if (!caption_.isEmpty()) {
        painter.setFont(font());
        painter.setPen(fontColor_);
        const int horizontal = alignment_ == TPanelAlignment::taLeftJustify ? Qt::AlignLeft : Qt::AlignHCenter;
        painter.drawText(rect, horizontal | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
    }
}

void TPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    event->accept();
}

void TPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        platform::guarded([this] { emit clicked(); });
}

TShape::TShape(QWidget* parent, QColor pen)
    : QWidget(parent)
    , pen_(pen)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(pen_);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
