// Windows bitmap loading.
#include "platform/Bitmap.h"

#include "platform/Files.h"
#include "rtl/Errors.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace platform {

QImage loadBitmapFile(const QString& path)
{
    QFile file(resolvePath(path));
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        rtl::raiseCannotOpen(path);
    const QByteArray data = file.readAll();
    if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
        rtl::raiseInvalidBitmap();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        rtl::raiseInvalidBitmap();
    return image;
}

QByteArray encodeBitmap24(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int height = rgb.height();
    const int rowSize = (width * 3 + 3) & ~3;
    const quint32 headerSize = 14 + 40;
    const quint32 dataSize = quint32(rowSize) * quint32(height);
    QByteArray out;
    out.reserve(qsizetype(headerSize + dataSize));
    auto put16 = [&](quint16 v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto put32 = [&](quint32 v) {
        for (int shift = 0; shift < 32; shift += 8)
            out.append(char((v >> shift) & 0xFF));
    };
    out.append("BM", 2);
    put32(headerSize + dataSize);
    put32(0); // reserved
    put32(headerSize);
    put32(40); // BITMAPINFOHEADER
    put32(quint32(width));
    put32(quint32(height)); // positive: the bottom row comes first
    put16(1); // planes
    put16(24);
    put32(0); // no compression
    put32(dataSize);
    put32(2835); // 72 dots per inch
    put32(2835);
    put32(0);
    put32(0);
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x)
            out.append(char(qBlue(row[x]))).append(char(qGreen(row[x]))).append(char(qRed(row[x])));
        out.append(QByteArray(rowSize - width * 3, '\0'));
    }
    return out;
}

void TBitmap::LoadFromFile(const QString& path) { Assign(loadBitmapFile(path)); }

void TBitmap::Assign(const QImage& image)
{
    image_ = image;
    if (OnChange)
        OnChange();
}

} // namespace platform
