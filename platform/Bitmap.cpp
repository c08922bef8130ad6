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

void TBitmap::LoadFromFile(const QString& path) { Assign(loadBitmapFile(path)); }

void TBitmap::Assign(const QImage& image)
{
    image_ = image;
    if (OnChange)
        OnChange();
}

} // namespace platform
