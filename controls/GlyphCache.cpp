// Shared image lists for button pictures.
#include "controls/GlyphCache.h"

#include <QPainter>
#include <algorithm>

TGlyphList::TGlyphList(int width, int height)
    : width_(width)
    , height_(height)
{
}

int TGlyphList::store(QImage image)
{
    auto free = std::find(used_.begin(), used_.end(), false);
    const auto index = size_t(free - used_.begin());
    if (free == used_.end()) {
        used_.push_back(true);
        images_.push_back(std::move(image));
    } else {
        *free = true;
        images_[index] = std::move(image);
    }
    ++count_;
    return int(index);
}

int TGlyphList::Add(const QImage& image) { return store(image.convertToFormat(QImage::Format_RGB32)); }

int TGlyphList::AddMasked(const QImage& image, QColor transparent)
{
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent.rgb() & RGB_MASK;
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
        }
    }
    return store(std::move(masked));
}

void TGlyphList::Delete(int index)
{
    if (index < 0 || size_t(index) >= used_.size() || !used_[size_t(index)])
        return;
    used_[size_t(index)] = false;
    images_[size_t(index)] = QImage();
    --count_;
}

void TGlyphList::Draw(QPainter& painter, int index, int x, int y) const
{
    if (index >= 0 && size_t(index) < used_.size() && used_[size_t(index)])
        painter.drawImage(x, y, images_[size_t(index)]);
}

namespace {

TGlyphCache* theCache = nullptr;
int pictureObjects = 0;

} // namespace

TGlyphCache* TGlyphCache::instance() { return theCache; }

TGlyphCache& TGlyphCache::ensure()
{
    if (!theCache)
        theCache = new TGlyphCache;
    return *theCache;
}

void TGlyphCache::pictureCreated()
{
    ++pictureObjects;
    ensure();
}

void TGlyphCache::pictureDestroyed()
{
    --pictureObjects;
    if (pictureObjects == 0 && theCache && theCache->Empty()) {
        delete theCache;
        theCache = nullptr;
    }
}

TGlyphList* TGlyphCache::GetList(int width, int height)
{
    for (const auto& list : lists_) {
        if (list->Width() == width && list->Height() == height)
            return list.get();
    }
    lists_.push_back(std::make_unique<TGlyphList>(width, height));
    return lists_.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* list)
{
    if (!list || list->Count() != 0)
        return;
    std::erase_if(lists_, [list](const auto& held) { return held.get() == list; });
}
