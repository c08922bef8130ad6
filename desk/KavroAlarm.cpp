// Daily one-shot alarm.
#include "desk/KavroAlarm.h"

TKavroAlarm::TKavroAlarm(QObject* owner) : QObject(owner) {}
