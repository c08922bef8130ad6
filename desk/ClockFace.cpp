// The control box's clock face, drawn from a small pixel font.
#include "desk/ClockFace.h"

#include "controls/TikClock.h"

#include <array>
#include <cmath>
#include <numbers>

namespace controlboxglyphs {

namespace {

// The 16 colours of the standard palette; the face uses navy and yellow.
constexpr std::array<QRgb, 16> standardColours = {
    0xff000000,
    0xff800000,
    0xff008000,
    0xff808000,
    0xff000080,
    0xff800080,
    0xff008080,
    0xffc0c0c0,
    0xff808080,
    0xffff0000,
    0xff00ff00,
    0xffffff00,
    0xff0000ff,
    0xffff00ff,
    0xff00ffff,
    0xffffffff,
};
constexpr int navy = 4;
constexpr int yellow = 11;

constexpr int digitWidth = 3;
constexpr int digitHeight = 5;
// Rows of each digit, three bits wide, the leftmost pixel in the high bit.
constexpr std::array<std::array<int, digitHeight>, 10> digitRows = { {
    { 7, 5, 5, 5, 7 }, // 0
    { 2, 6, 2, 2, 7 }, // 1
    { 7, 1, 7, 4, 7 }, // 2
    { 7, 1, 7, 1, 7 }, // 3
    { 5, 5, 7, 1, 1 }, // 4
    { 7, 4, 7, 1, 7 }, // 5
    { 7, 4, 7, 5, 7 }, // 6
    { 7, 1, 1, 1, 1 }, // 7
    { 7, 5, 7, 5, 7 }, // 8
    { 7, 5, 7, 1, 7 }, // 9
} };

void drawDigit(QImage& image, int digit, int left, int top)
{
    for (int row = 0; row < digitHeight; ++row)
        for (int column = 0; column < digitWidth; ++column)
            if (digitRows[digit][row] & (4 >> column))
                image.setPixel(left + column, top + row, yellow);
}

} // namespace

QImage clockFace()
{
    QImage face(64, 51, QImage::Format_Indexed8);
    face.setColorTable(QList<QRgb>(standardColours.begin(), standardColours.end()));
    face.fill(navy);
    // The numerals' centres lie on an ellipse that fits the face.
    constexpr int centreX = 32;
    constexpr int centreY = 25;
    constexpr double radiusX = 23;
    constexpr double radiusY = 20;
    for (int numeral = 1; numeral <= 12; ++numeral) {
        const double angle = numeral * std::numbers::pi / 6;
        const int x = centreX + static_cast<int>(std::lround(radiusX * std::sin(angle)));
        const int y = centreY - static_cast<int>(std::lround(radiusY * std::cos(angle)));
        const QByteArray digits = QByteArray::number(numeral);
        const int width = int(digits.size()) * (digitWidth + 1) - 1;
        int left = x - width / 2;
        for (char digit : digits) {
            drawDigit(face, digit - '0', left, y - digitHeight / 2);
            left += digitWidth + 1;
        }
    }
    return face;
}

} // namespace controlboxglyphs

void setUpControlBoxClock(TTickingClock& clock)
{
    clock.setBitmap(controlboxglyphs::clockFace());
    clock.setPenSec(QPen(Qt::white));
    clock.setBrushHour(QBrush(Qt::yellow));
    clock.setBrushMin(QBrush(Qt::yellow));
    clock.setHourSize(19);
    clock.setMinSize(24);
    clock.setSecSize(25);
}
