// Letter-drawn pictures.
#include "controls/PixelArt.h"

#include <cstring>

namespace pixelart {

namespace {

constexpr char letters[] = "kmgonp.sdrlybfcw";
constexpr int background = 6;
constexpr int grey = 8;
constexpr int white = 15;

QList<QRgb> colourTable()
{
    return { qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0), qRgb(0, 0, 128), qRgb(128, 0, 128),
        qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0),
        qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255) };
}

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable(colourTable());
    image.fill(background);
    return image;
}

// Dark pixels keep their shape in the disabled image; light ones fade into the background.
bool isInk(const QImage& image, int x, int y)
{
    const int index = image.pixelIndex(x, y);
    return index != background && qGray(image.color(index)) < 128;
}

int widthOf(std::initializer_list<const char*> rows) { return rows.size() == 0 ? 0 : int(std::strlen(*rows.begin())); }

// Calls `pixel` with the place and the letter of every pixel of `rows`.
template <class Pixel> void forEachLetter(std::initializer_list<const char*> rows, Pixel&& pixel)
{
    const int width = widthOf(rows);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width && row[x] != '\0'; ++x)
            pixel(x, y, row[x]);
        ++y;
    }
}

} // namespace

QImage fromRows(std::initializer_list<const char*> rows)
{
    QImage image = blank(widthOf(rows), int(rows.size()));
    forEachLetter(rows, [&image](int x, int y, char letter) {
        const char* known = std::strchr(letters, letter);
        image.setPixel(x, y, known ? uint(known - letters) : uint(background));
    });
    return image;
}

QImage fromRows(std::initializer_list<const char*> rows, std::span<const Paint> paints)
{
    QImage image(widthOf(rows), int(rows.size()), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    forEachLetter(rows, [&image, paints](int x, int y, char letter) {
        for (const Paint& paint : paints) {
            if (paint.letter == letter)
                image.setPixel(x, y, paint.colour);
        }
    });
    return image;
}

QImage withDisabledImage(const QImage& normal)
{
    const int width = normal.width();
    const int height = normal.height();
    QImage both = blank(width * 2, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            both.setPixel(x, y, uint(normal.pixelIndex(x, y)));
            if (isInk(normal, x, y))
                both.setPixel(width + x, y, grey);
            else if (x > 0 && y > 0 && isInk(normal, x - 1, y - 1))
                both.setPixel(width + x, y, white);
        }
    }
    return both;
}

} // namespace pixelart
