// Pictures of the control box's buttons.
#include "desk/ControlBoxGlyphs.h"

namespace glyphs {

QImage alarmClock() { return {}; }
QImage mainScreen() { return {}; }
QImage calendarPage() { return {}; }

} // namespace glyphs
