// Small 16-colour pictures written as rows of letters, one letter a pixel,
// and the disabled image that goes beside a normal one.
#pragma once

#include <QImage>
#include <initializer_list>

namespace pixelart {

// Letters: '.' teal (the background, read from the bottom-left pixel),
// k black, m maroon, g green, o olive, n navy, p purple, s silver, d grey,
// r red, l lime, y yellow, b blue, f fuchsia, c aqua, w white.
// Every row must be as long as the first. The picture holds the 16
// standard colours in its colour table.
QImage fromRows(std::initializer_list<const char*> rows);

// `normal` (made by fromRows) and, to its right, a disabled image of it: the dark pixels in
// grey 128 with a white copy one pixel right and down, on the background.
QImage withDisabledImage(const QImage& normal);

} // namespace pixelart
