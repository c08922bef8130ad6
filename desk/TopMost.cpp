// Stay-on-top.
#include "desk/TopMost.h"

#include <QWidget>
#include <QWindow>

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

// The flag goes to the existing native window: changing the widget's flags
// the usual way would re-create it, with a new identity and a flicker.
void TTopMost::apply()
{
    Qt::WindowFlags flags = owner_->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == topMost_)
        return;
    flags.setFlag(Qt::WindowStaysOnTopHint, topMost_);
    owner_->overrideWindowFlags(flags);
    if (QWindow* window = owner_->windowHandle())
        window->setFlags(flags);
}
