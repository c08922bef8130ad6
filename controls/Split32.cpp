// Splitter between the planner's tree and list.
#include "controls/Split32.h"

#include "platform/SystemColors.h"

#include <QMouseEvent>

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
    event->accept();
}

// The offset is measured from the splitter, which moves with the mouse, so
// the point that was grabbed stays under the cursor. No limit applies: a
// view can be narrowed to nothing.
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
    treeView_->resize(treeView_->width() + d, treeView_->height());
    listView_->setGeometry(listView_->x() + d, listView_->y(), listView_->width() - d, listView_->height());
}

void TSplitter::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    setColor(platform::sysColor(platform::COLOR_BTNFACE));
    event->accept();
}
