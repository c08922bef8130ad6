// Wave player.
#include "desk/PlayWav.h"

TPlayWav::TPlayWav(QObject* owner) : QObject(owner) {}

void TPlayWav::PlayFile(const QString&) {}
