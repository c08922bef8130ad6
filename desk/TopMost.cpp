// Stay-on-top.
#include "desk/TopMost.h"

#include <QWidget>

TTopMost::TTopMost(QWidget* owner)
    : QObject(owner)
    , owner_(owner)
{
    apply();
}

void TTopMost::setTopMost(bool value)
{
    if (value == topMost_)
        return;
    topMost_ = value;
    apply();
}

// Changing a window's flags makes the toolkit re-create the native window
// hidden: a window that was showing is shown again at the same place and size.
void TTopMost::apply()
{
    if (owner_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topMost_)
        return;
    const bool shown = owner_->isVisible();
    const QRect place = owner_->geometry();
    owner_->setWindowFlag(Qt::WindowStaysOnTopHint, topMost_);
    if (!shown)
        return;
    owner_->setGeometry(place);
    owner_->show();
}
