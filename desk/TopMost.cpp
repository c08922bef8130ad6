// Stay-on-top.
#include "desk/TopMost.h"

#include <QWidget>

TTopMost::TTopMost(QWidget* owner) : QObject(owner), owner_(owner) { apply(); }

void TTopMost::setTopMost(bool value)
{
    if (value == topMost_)
        return;
    topMost_ = value;
    apply();
}

void TTopMost::apply() { owner_->setWindowFlag(Qt::WindowStaysOnTopHint, topMost_); }
