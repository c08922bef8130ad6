// Small pictures written as rows of letters, one letter a pixel, in the 16
// standard colours or in colours of their own, and the disabled image that
// goes beside a normal one.
#pragma once

#include <QImage>
#include <initializer_list>
#include <span>

namespace pixelart {

// Letters: '.' teal (the background, read from the bottom-left pixel),
// k black, m maroon, g green, o olive, n navy, p purple, s silver, d grey,
// r red, l lime, y yellow, b blue, f fuchsia, c aqua, w white.
// Every row must be as long as the first. The picture holds the 16
// standard colours in its colour table.
QImage fromRows(std::initializer_list<const char*> rows);

// A letter and the colour it stands for.
struct Paint {
    char letter;
    QRgb colour;
};

// A 32-bit picture with transparency: each letter in the colour `paints`
// gives it, every other letter ('.' for one) transparent. Every row must be
// as long as the first.
QImage fromRows(std::initializer_list<const char*> rows, std::span<const Paint> paints);

// `normal` (made by fromRows) and, to its right, a disabled image of it: the dark pixels in
// grey 128 with a white copy one pixel right and down, on the background.
QImage withDisabledImage(const QImage& normal);

} // namespace pixelart
