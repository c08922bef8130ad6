// The control box's clock: its face and its hand settings.
#pragma once

#include <QImage>

class TTickingClock;

namespace controlboxglyphs {

// 64 x 51 pixels in the 16 standard colours: a navy face with the yellow
// numerals 1 to 12 set in a circle round the pivot (32, 25).
QImage clockFace();

} // namespace controlboxglyphs

// Gives `clock` the control box's face, hand lengths 19, 24 and 25, a white
// second hand and yellow hour and minute hands.
void setUpControlBoxClock(TTickingClock& clock);
