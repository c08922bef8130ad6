// Position memory.
#include "desk/position.h"

#include "platform/Screen.h"

#include <QWidget>

TPosition::TPosition(QWidget* owner) : QObject(owner), owner_(owner), iniFileName_(owner->objectName() + QStringLiteral(".ini")) {}

void TPosition::setIniFileName(const QString& name) { iniFileName_ = name.toLower(); }

void TPosition::Restore()
{
    const QSize screen = platform::primaryScreenSize();
    owner_->move((screen.width() - owner_->width()) / 2, (screen.height() - owner_->height()) / 2);
}

void TPosition::SaveToIni() {}
