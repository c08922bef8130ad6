// The windows' design face, "MS Sans Serif", at a size in pixels.
#pragma once

#include <QFont>

// Where the design face is missing, faces of similar widths keep every
// caption inside its place.
QFont designFont(int pixelSize, bool bold = false);
