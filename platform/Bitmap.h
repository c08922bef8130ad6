// A picture loaded from Windows bitmap files only, telling its owner when its content changes.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

namespace platform {

// Reads a Windows bitmap file. Raises rtl::EFOpenError "Cannot open file %s"
// when no regular file can be opened there and rtl::EInvalidGraphic
// "Bitmap image is not valid" when the file is not a valid bitmap (whatever
// its name), claims more data than it holds or is larger than 64 MiB.
QImage loadBitmapFile(const QString& path);

// A Windows bitmap from the bytes of its file; raises EInvalidGraphic as
// loadBitmapFile does.
QImage decodeBitmap(const QByteArray& data);

// The image as a 24-bit Windows bitmap file (bottom-up rows, no palette, no alpha).
QByteArray encodeBitmap24(const QImage& image);

class TBitmap final {
public:
    TBitmap() = default;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    const QImage& image() const { return image_; }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return image_.isNull() || image_.width() == 0 || image_.height() == 0; }

    // Replaces the content and tells the owner. A failed load leaves the
    // content as it was and raises the loader's error.
    void LoadFromFile(const QString& path);
    void Assign(const QImage& image);
    void Clear() { Assign(QImage()); }

    std::function<void()> OnChange;

private:
    QImage image_;
};

} // namespace platform
