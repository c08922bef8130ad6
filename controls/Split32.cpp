// Splitter between the planner's tree and list.
#include "controls/Split32.h"

#include "platform/SystemColors.h"

#include <QMouseEvent>
#include <algorithm>

TSplitter::TSplitter(QWidget* parent)
    : TPanel(parent)
{
    setGeometry(150, 3, 6, 212);
    setBevelInner(TPanelBevel::bvRaised);
    setBevelOuter(TPanelBevel::bvNone);
    setMouseTracking(true);
    setCursor(Qt::SplitHCursor);
}

void TSplitter::mousePressEvent(QMouseEvent* event)
{
    startX_ = event->position().toPoint().x();
    startY_ = event->position().toPoint().y();
    dragging_ = true;
    atPress_ = { x(), treeView_ ? treeView_->width() : 0, listView_ ? listView_->geometry() : QRect() };
    event->accept();
}

// The offset is measured from the splitter, which moves with the mouse, so
// the point that was grabbed stays under the cursor. No limit applies: a
// view can be narrowed to nothing, and the splitter goes on past it. The
// views are sized from where they were at the press, not step by step, so
// that a view held at no width follows the splitter again on the way back.
void TSplitter::mouseMoveEvent(QMouseEvent* event)
{
    setCursor(Qt::SplitHCursor);
    event->accept();
    if (!dragging_ || !treeView_ || !listView_)
        return;
    const int d = event->position().toPoint().x() - startX_;
    if (d == 0)
        return;
    move(x() + d, y());
    setColor(platform::sysColor(platform::COLOR_HIGHLIGHT));
    const int moved = x() - atPress_.splitterX;
    treeView_->resize(std::max(0, atPress_.treeWidth + moved), treeView_->height());
    const QRect list = atPress_.list;
    listView_->setGeometry(list.x() + moved, list.y(), std::max(0, list.width() - moved), list.height());
}

void TSplitter::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    setColor(platform::sysColor(platform::COLOR_BTNFACE));
    event->accept();
}
