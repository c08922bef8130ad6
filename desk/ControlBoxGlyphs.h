// Pictures of the control box's buttons.
#pragma once

#include <QImage>

namespace controlboxglyphs {

// A red alarm clock: two 16 x 16 images side by side (normal, disabled).
QImage alarmClock();
// A small window with coloured bars, 20 x 16.
QImage mainScreen();
// A calendar page: two 16 x 16 images side by side (normal, disabled).
QImage calendarPage();

} // namespace controlboxglyphs
