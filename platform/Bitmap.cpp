// Windows bitmap loading.
#include "platform/Bitmap.h"

#include "platform/Files.h"
#include "rtl/Errors.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Larger files are refused before anything is read.
constexpr qint64 maxBitmapFileSize = 64 * 1024 * 1024;
// The most memory a decoded picture may take, in MiB.
constexpr int maxDecodedMiB = 256;

// The file header and the start of the info header, enough to tell what
// the file claims to be before it is read.
constexpr qsizetype headerSize = 26;

bool plausibleHeader(const QByteArray& header, qint64 fileSize)
{
    if (header.size() < headerSize || header[0] != 'B' || header[1] != 'M')
        return false;
    const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
    // A declared size of 0 is common; a larger one than the file has means the file is cut.
    const quint32 declared = qFromLittleEndian<quint32>(bytes + 2);
    const quint32 pixelsAt = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes + 14);
    return declared <= fileSize && pixelsAt <= fileSize && infoSize >= 12 && 14 + qint64(infoSize) <= fileSize;
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

void TBitmap::LoadFromFile(const QString& path) { Assign(loadBitmapFile(path)); }

void TBitmap::Assign(const QImage& image)
{
    image_ = image;
    if (OnChange)
        OnChange();
}

} // namespace platform
