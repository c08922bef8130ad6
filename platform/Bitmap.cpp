// Windows bitmap loading.
#include "platform/Bitmap.h"

#include "platform/FilePaths.h"
#include "rtl/Errors.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Larger files are refused before anything is read.
constexpr qint64 maxBitmapFileSize = qint64 { 64 } * 1024 * 1024;
// The most memory a decoded picture may take, in MiB.
constexpr int maxDecodedMiB = 256;

// The file header and the info header up to its compression field: enough
// to tell what the file claims to be before it is read.
constexpr qsizetype headerSize = 34;
constexpr qsizetype coreHeaderEnd = 14 + 12;

// The bytes of uncompressed pixel rows the header declares, or -1 when it
// declares none that can be counted (compressed data, odd fields).
qint64 declaredPixelBytes(const uchar* bytes, qsizetype available, quint32 infoSize)
{
    qint64 width = 0, height = 0;
    quint32 bitCount = 0, compression = 0;
    if (infoSize == 12) {
        width = qFromLittleEndian<quint16>(bytes + 18);
        height = qFromLittleEndian<quint16>(bytes + 20);
        bitCount = qFromLittleEndian<quint16>(bytes + 24);
    } else if (available >= headerSize) {
        width = qFromLittleEndian<qint32>(bytes + 18);
        height = qFromLittleEndian<qint32>(bytes + 22);
        bitCount = qFromLittleEndian<quint16>(bytes + 28);
        compression = qFromLittleEndian<quint32>(bytes + 30);
    } else {
        return -1;
    }
    // Plain rows (0) or rows with colour masks (3, 6); the run-length forms
    // have no size of their own.
    if ((compression != 0 && compression != 3 && compression != 6) || width <= 0 || bitCount == 0)
        return -1;
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
    if (rowBytes > maxBitmapFileSize)
        return std::numeric_limits<qint64>::max();
    return rowBytes * (height < 0 ? -height : height);
}

// Whether the header's claims fit a file of `fileSize` bytes: its declared
// size (0 is common), where its pixels start, its info header and, for
// uncompressed rows, the rows themselves.
bool plausibleHeader(const QByteArray& header, qint64 fileSize)
{
    if (header.size() < coreHeaderEnd || header[0] != 'B' || header[1] != 'M')
        return false;
    const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
    const quint32 declared = qFromLittleEndian<quint32>(bytes + 2);
    const quint32 pixelsAt = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes + 14);
    if (declared > fileSize || pixelsAt > fileSize || infoSize < 12 || 14 + qint64(infoSize) > fileSize)
        return false;
    const qint64 pixelBytes = declaredPixelBytes(bytes, header.size(), infoSize);
    return pixelBytes < 0 || pixelBytes <= fileSize - pixelsAt;
}

} // namespace

QImage decodeBitmap(const QByteArray& data)
{
    if (!plausibleHeader(data.left(headerSize), data.size()))
        rtl::raiseInvalidBitmap();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // Qt's own reader of the format, without asking (and so loading) every
    // picture plug-in whether it reads it too.
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(maxDecodedMiB);
    QImage image = reader.read();
    if (image.isNull())
        rtl::raiseInvalidBitmap();
    return image;
}

QImage loadBitmapFile(const QString& path)
{
    if (path.isEmpty())
        rtl::raiseCannotOpen(path);
    // Only a regular file is read: a pipe would wait for a writer for good
    // and a device may never end.
    const int fd
        = ::open(QFile::encodeName(resolvePath(path)).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        rtl::raiseCannotOpen(path);
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        rtl::raiseCannotOpen(path);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        rtl::raiseCannotOpen(path);
    }
    const qint64 size = st.st_size;
    if (size > maxBitmapFileSize || !plausibleHeader(file.read(headerSize), size))
        rtl::raiseInvalidBitmap();
    file.seek(0);
    const QByteArray data = file.read(size);
    if (data.size() != size)
        rtl::raiseInvalidBitmap();
    return decodeBitmap(data);
}

QByteArray encodeBitmap24(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int height = rgb.height();
    const int rowSize = (width * 3 + 3) & ~3;
    const quint32 fileHeaderSize = 14 + 40;
    const quint32 dataSize = quint32(rowSize) * quint32(height);
    QByteArray out;
    out.reserve(qsizetype { fileHeaderSize } + dataSize);
    auto put16 = [&](quint16 v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto put32 = [&](quint32 v) {
        for (int shift = 0; shift < 32; shift += 8)
            out.append(char((v >> shift) & 0xFF));
    };
    out.append("BM", 2);
    put32(fileHeaderSize + dataSize);
    put32(0); // reserved
    put32(fileHeaderSize);
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
