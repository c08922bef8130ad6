// The image lists behind button pictures, shared process-wide: one list per
// image size, so buttons with equal-sized pictures keep their images together.
#pragma once

#include <QColor>
#include <QImage>
#include <memory>
#include <vector>

class QPainter;

// An image list of one image size that counts the images in use and gives
// freed slots to the next image added.
class TGlyphList final {
public:
    TGlyphList(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Images in use.
    int Count() const { return count_; }
    // Slots ever made, used or free.
    int Capacity() const { return int(images_.size()); }

    // Adds an image drawn opaque; returns its index.
    int Add(const QImage& image);
    // Adds an image whose pixels of `transparent` let the background show.
    int AddMasked(const QImage& image, QColor transparent);
    // Frees the slot of `index`.
    void Delete(int index);

    const QImage& image(int index) const { return images_[size_t(index)]; }
    void Draw(QPainter& painter, int index, int x, int y) const;

private:
    int store(QImage image);

    int width_;
    int height_;
    int count_ = 0;
    std::vector<QImage> images_;
    std::vector<bool> used_;
};

// The process-wide set of image lists. It exists while any button picture
// object does (or while it still holds a list).
class TGlyphCache final {
public:
    // The cache, or null when there is none.
    static TGlyphCache* instance();

    // The list for images of this size, made when there is none yet.
    TGlyphList* GetList(int width, int height);
    // Lets go of a list: a list holding no image is removed and destroyed.
    void ReturnList(TGlyphList* list);
    bool Empty() const { return lists_.empty(); }
    int ListCount() const { return int(lists_.size()); }

    // Bookkeeping of the picture objects that use the cache: the first
    // makes it, the last one gone takes an empty cache with it.
    static void pictureCreated();
    static void pictureDestroyed();
    // The cache, made when there is none.
    static TGlyphCache& ensure();

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};
