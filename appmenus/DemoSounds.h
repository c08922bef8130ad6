// The two synthesised sounds of a new start folder: the alarm's three beeps
// and the about panel's rising chime, as 16-bit mono wave files.
#pragma once

#include <QByteArray>

QByteArray alarmWave();
QByteArray magicWave();
