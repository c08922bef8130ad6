// Shared image lists and the per-state images of button pictures.
#include "controls/GlyphCache.h"

#include "ButtonTestSupport.h"
#include "controls/ButtonGlyph.h"
#include "platform/SystemColors.h"
#include "support/TestSupport.h"

#include <QPalette>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace button_testing;

TEST(GlyphList, ReusesFreedSlotsAndCountsImagesInUse)
{
    TGlyphList list(4, 4);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    EXPECT_EQ(list.Add(image), 0);
    EXPECT_EQ(list.Add(image), 1);
    EXPECT_EQ(list.Add(image), 2);
    list.Delete(1);
    list.Delete(1); // a freed slot is not freed twice
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Add(image), 1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Capacity(), 3);

    image.setPixel(0, 0, qRgb(0, 128, 128));
    const int masked = list.AddMasked(image, QColor(0, 128, 128));
    EXPECT_EQ(qAlpha(list.image(masked).pixel(0, 0)), 0);
    EXPECT_EQ(list.image(masked).pixel(1, 0), qRgb(255, 0, 0));
}

TEST(GlyphCache, ShareOneListPerImageSizeAndLetItGoWithTheLastImage)
{
    {
        std::vector<std::unique_ptr<TButtonGlyph>> glyphs;
        for (int i = 0; i < 3; ++i) {
            glyphs.push_back(std::make_unique<TButtonGlyph>());
            glyphs.back()->SetGlyph(picture(16, 1));
        }
        auto odd = std::make_unique<TButtonGlyph>();
        odd->SetGlyph(picture(20, 1));
        ASSERT_NE(TGlyphCache::instance(), nullptr);
        EXPECT_EQ(TGlyphCache::instance()->ListCount(), 0) << "images are made on first need";

        for (auto& glyph : glyphs)
            glyph->CreateButtonGlyph(TButtonState::bsUp, Qt::red);
        EXPECT_EQ(TGlyphCache::instance()->ListCount(), 1);
        TGlyphList* shared = glyphs[0]->ImageList();
        EXPECT_EQ(glyphs[2]->ImageList(), shared);
        EXPECT_EQ(shared->Count(), 3);

        odd->CreateButtonGlyph(TButtonState::bsUp, Qt::red);
        EXPECT_EQ(TGlyphCache::instance()->ListCount(), 2);
        odd.reset();
        EXPECT_EQ(TGlyphCache::instance()->ListCount(), 1);

        // A colour change drops the images; they are made again in the same list.
        glyphs[1]->Invalidate();
        EXPECT_EQ(shared->Count(), 2);
        glyphs[1]->CreateButtonGlyph(TButtonState::bsUp, Qt::blue);
        EXPECT_EQ(shared->Count(), 3);
        EXPECT_EQ(shared->Capacity(), 3);

        for (auto& glyph : glyphs)
            glyph->Invalidate();
        EXPECT_EQ(TGlyphCache::instance()->ListCount(), 0);
    }
    EXPECT_EQ(TGlyphCache::instance(), nullptr);
}

TEST(ButtonGlyph, MakesEachStateFromItsOwnImageOrTheFirst)
{
    // Four images: teal background, the cell number in red at pixel (1, 1).
    QImage strip = picture(8, 4, QRect());
    for (int cell = 0; cell < 4; ++cell)
        strip.setPixel(cell * 8 + 1, 1, qRgb(cell * 60, 0, 0));
    TButtonGlyph glyph;
    const QColor face(0, 0, 255);
    const auto cellOf = [&](TButtonState state) {
        const int index = glyph.CreateButtonGlyph(state, face);
        return qRed(glyph.ImageList()->image(index).pixel(1, 1)) / 60;
    };

    glyph.SetGlyph(strip);
    EXPECT_EQ(cellOf(TButtonState::bsDown), 2);
    EXPECT_EQ(cellOf(TButtonState::bsExclusive), 3);

    glyph.SetGlyph(strip.copy(0, 0, 16, 8)); // two images
    const int up = glyph.CreateButtonGlyph(TButtonState::bsUp, face);
    EXPECT_EQ(glyph.CreateButtonGlyph(TButtonState::bsDown, face), up) << "down with fewer than 3 images is up";
    EXPECT_EQ(cellOf(TButtonState::bsExclusive), 0);
    const QImage& upImage = glyph.ImageList()->image(up);
    EXPECT_EQ(upImage.pixel(0, 0), rgb(face)) << "up images are opaque on the face colour";
    const QImage& exclusive = glyph.ImageList()->image(glyph.CreateButtonGlyph(TButtonState::bsExclusive, face));
    EXPECT_EQ(qAlpha(exclusive.pixel(0, 0)), 0) << "the exclusive image is drawn through its mask";
    EXPECT_EQ(exclusive.pixel(1, 1), qRgb(0, 0, 0) | 0xFF000000u);
}

TEST(ButtonGlyph, DisabledImageOfSeveralRecoloursWhiteAndGreyToTheScheme)
{
    const QPalette saved = QApplication::palette();
    QPalette scheme = saved;
    scheme.setColor(QPalette::Light, QColor(255, 255, 0));
    scheme.setColor(QPalette::Dark, QColor(0, 0, 255));
    QApplication::setPalette(scheme);

    QImage strip = picture(8, 2, QRect());
    strip.setPixel(8 + 1, 1, qRgb(255, 255, 255));
    strip.setPixel(8 + 2, 1, qRgb(128, 128, 128));
    strip.setPixel(8 + 3, 1, qRgb(255, 0, 0));
    TButtonGlyph glyph;
    glyph.SetGlyph(strip);
    const int index = glyph.CreateButtonGlyph(TButtonState::bsDisabled, Qt::green);
    const QImage disabled = glyph.ImageList()->image(index);
    QApplication::setPalette(saved);

    EXPECT_EQ(disabled.pixel(0, 0), rgb(Qt::green));
    EXPECT_EQ(disabled.pixel(1, 1), qRgb(255, 255, 0) | 0xFF000000u);
    EXPECT_EQ(disabled.pixel(2, 1), qRgb(0, 0, 255) | 0xFF000000u);
    EXPECT_EQ(disabled.pixel(3, 1), qRgb(255, 0, 0) | 0xFF000000u);
}
