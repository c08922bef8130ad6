// Pictures of the editor's buttons, drawn in code. Each has the button-face
// colour in its bottom-left pixel, the colour the buttons treat as background.
#pragma once

#include <QImage>

namespace editorglyphs {

QImage floppyDisk(); // 16 x 16, Save/Close
QImage fontLetters(); // 18 x 16, the letters F f F
QImage openFolder(); // 16 x 16, the browse buttons
QImage palette(); // 16 x 16, beside "Back Color" and "Font Color"

} // namespace editorglyphs
