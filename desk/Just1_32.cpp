// Single instance guard.
#include "desk/Just1_32.h"

#include <QWidget>

TJustOne32::TJustOne32(QWidget* owner) : QObject(owner) {}
