// The colour speed button: its faces, pictures, captions, mouse and groups.
#include "ButtonTestSupport.h"
#include "controls/Colorbut.h"
#include "controls/GlyphCache.h"
#include "platform/SystemColors.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

using namespace button_testing;

namespace {

constexpr qint32 storedRed = 0x0000FF;
constexpr qint32 storedBlue = 0xFF0000;
constexpr qint32 storedGreen = 0x008000;

QRgb scheme(int index) { return rgb(platform::sysColor(index)); }

using PixelSet = std::set<std::pair<int, int>>;

// Pixels of `colour` inside the button's content, away from its edges.
PixelSet pixelsOf(const QImage& image, QRgb colour)
{
    PixelSet found;
    for (int y = 1; y < image.height() - 2; ++y)
        for (int x = 1; x < image.width() - 2; ++x)
            if (at(image, x, y) == colour)
                found.insert({ x, y });
    return found;
}

} // namespace

TEST(ColorSpeedButton, UpAndDownFacesHaveTheClassicEdges)
{
    TColorSpeedButton button;
    button.resize(30, 20);
    button.setColor(storedGreen);
    const QRgb face = qRgb(0, 128, 0);

    QImage up = render(button);
    EXPECT_EQ(at(up, 0, 0), scheme(platform::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(at(up, 0, 18), scheme(platform::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(at(up, 0, 19), scheme(platform::COLOR_3DDKSHADOW));
    EXPECT_EQ(at(up, 29, 0), scheme(platform::COLOR_3DDKSHADOW));
    EXPECT_EQ(at(up, 28, 5), scheme(platform::COLOR_BTNSHADOW));
    EXPECT_EQ(at(up, 5, 18), scheme(platform::COLOR_BTNSHADOW));
    EXPECT_EQ(at(up, 1, 1), face);
    EXPECT_EQ(at(up, 27, 17), face);

    mouse(button, QEvent::MouseButtonPress, { 5, 5 });
    ASSERT_EQ(button.State(), TButtonState::bsDown);
    QImage down = render(button);
    EXPECT_EQ(at(down, 0, 0), scheme(platform::COLOR_3DDKSHADOW));
    EXPECT_EQ(at(down, 1, 1), scheme(platform::COLOR_BTNSHADOW));
    EXPECT_EQ(at(down, 1, 18), scheme(platform::COLOR_BTNSHADOW));
    EXPECT_EQ(at(down, 29, 0), scheme(platform::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(at(down, 0, 19), scheme(platform::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(at(down, 28, 18), face);
    EXPECT_EQ(at(down, 2, 2), face);
}

TEST(ColorSpeedButton, ColourChangeRepaintsThePictureBackground)
{
    TColorSpeedButton button;
    button.resize(40, 30);
    button.setGlyph(picture(16, 1));
    button.setColor(storedRed);
    // Content 37 x 27 at (1, 1): the picture stands at (12, 7).
    QImage before = render(button);
    EXPECT_EQ(at(before, 12, 7), qRgb(255, 0, 0));
    EXPECT_EQ(at(before, 12 + 4, 7 + 4), qRgb(0, 0, 0));

    button.setColor(storedBlue);
    QImage after = render(button);
    EXPECT_EQ(at(after, 12, 7), qRgb(0, 0, 255));
    EXPECT_EQ(at(after, 12 + 15, 7 + 15), qRgb(0, 0, 255));
    EXPECT_EQ(at(after, 12 + 4, 7 + 4), qRgb(0, 0, 0));
}

TEST(ColorSpeedButton, DisabledOneImagePictureIsEmbossed)
{
    TColorSpeedButton button;
    button.resize(40, 30);
    button.setColor(storedBlue);
    QImage source = picture(16, 1, QRect(3, 3, 6, 2));
    for (int y = 5; y < 12; ++y)
        source.setPixel(3, y, qRgb(0, 0, 0));
    source.setPixel(12, 12, qRgb(255, 0, 0)); // not black: not part of the shape
    button.setGlyph(source);
    button.setEnabled(false);

    const QImage image = render(button);
    EXPECT_EQ(button.State(), TButtonState::bsDisabled);
    const auto black = [&](int x, int y) { return x >= 0 && y >= 0 && source.pixel(x, y) == qRgb(0, 0, 0); };
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb expected = black(x, y) ? scheme(platform::COLOR_BTNSHADOW)
                : black(x - 1, y - 1)         ? scheme(platform::COLOR_BTNHIGHLIGHT)
                                              : qRgb(0, 0, 255);
            ASSERT_EQ(at(image, 12 + x, 7 + y), expected) << x << "," << y;
        }
    }
}

TEST(ColorSpeedButton, DisabledCaptionIsWhiteOnePixelRightAndDownUnderDarkGrey)
{
    TColorSpeedButton button;
    button.resize(60, 30);
    button.setColor(storedBlue);
    QFont font = button.font();
    font.setPixelSize(13);
    font.setStyleStrategy(QFont::NoAntialias);
    button.setFont(font);
    button.setCaption(QStringLiteral("Hi"));

    const PixelSet shape = pixelsOf(render(button), qRgb(0, 0, 0));
    ASSERT_GT(shape.size(), 10u);

    button.setEnabled(false);
    const QImage disabled = render(button);
    const PixelSet grey = pixelsOf(disabled, qRgb(128, 128, 128));
    const PixelSet white = pixelsOf(disabled, qRgb(255, 255, 255));
    PixelSet shifted;
    for (auto [x, y] : shape)
        if (!shape.count({ x + 1, y + 1 }))
            shifted.insert({ x + 1, y + 1 });
    EXPECT_EQ(grey, shape);
    EXPECT_EQ(white, shifted);
    EXPECT_TRUE(pixelsOf(disabled, qRgb(0, 0, 0)).empty());
}

TEST(ColorSpeedButton, HeldInAGroupShowsTheDitherOfItsCurrentColour)
{
    QWidget parent;
    auto* button = new TColorSpeedButton(&parent);
    button->resize(30, 20);
    button->setColor(storedRed);
    button->setGroupIndex(1);
    button->setDown(true);
    ASSERT_EQ(button->State(), TButtonState::bsExclusive);

    for (qint32 colour : { storedRed, storedBlue }) {
        // A colour change after the pattern was made shows the new colour.
        button->setColor(colour);
        const QRgb face = rgb(platform::ColorToRGB(colour));
        const QImage image = render(*button);
        for (int y = 2; y < 18; ++y)
            for (int x = 2; x < 28; ++x)
                ASSERT_EQ(at(image, x, y), (x + y) % 2 == 0 ? qRgb(255, 255, 255) : face) << x << "," << y;
        EXPECT_EQ(at(image, 28, 10), face) << "one pixel at the right is left plain";
    }
}

TEST(ColorSpeedButton, PressAndReleaseOutsideFiresNoClickAndLeavesItUp)
{
    TColorSpeedButton button;
    button.resize(30, 20);
    QSignalSpy clicks(&button, &TColorSpeedButton::clicked);

    mouse(button, QEvent::MouseButtonPress, { 5, 5 });
    EXPECT_EQ(button.State(), TButtonState::bsDown);
    mouse(button, QEvent::MouseMove, { 30, 5 });
    EXPECT_EQ(button.State(), TButtonState::bsUp);
    mouse(button, QEvent::MouseMove, { 29, 19 });
    EXPECT_EQ(button.State(), TButtonState::bsDown);
    mouse(button, QEvent::MouseMove, { 5, -1 });
    mouse(button, QEvent::MouseButtonRelease, { 5, -1 });
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(button.State(), TButtonState::bsUp);

    click(button);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(button.State(), TButtonState::bsUp);
    EXPECT_FALSE(button.Down()) << "a button without a group never stays down";
    button.setDown(true);
    EXPECT_FALSE(button.Down());

    button.setEnabled(false);
    mouse(button, QEvent::MouseButtonPress, { 5, 5 });
    mouse(button, QEvent::MouseButtonRelease, { 5, 5 });
    EXPECT_EQ(clicks.count(), 1) << "a disabled button does not click";
}

TEST(ColorSpeedButton, GroupKeepsOneButtonDownAndItsLastOneUnlessAllUpIsAllowed)
{
    QWidget parent;
    auto* first = new TColorSpeedButton(&parent);
    auto* second = new TColorSpeedButton(&parent);
    auto* elsewhere = new TColorSpeedButton(&parent);
    for (auto* button : { first, second })
        button->setGroupIndex(1);
    elsewhere->setGroupIndex(2);
    elsewhere->setDown(true);
    QSignalSpy secondClicks(second, &TColorSpeedButton::clicked);

    click(*first);
    EXPECT_TRUE(first->Down());
    EXPECT_EQ(first->State(), TButtonState::bsExclusive);

    click(*second);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(first->State(), TButtonState::bsUp);
    EXPECT_TRUE(elsewhere->Down()) << "another group is left alone";

    // The last down button cannot be released, by a click or by Down.
    click(*second);
    EXPECT_TRUE(second->Down());
    EXPECT_EQ(second->State(), TButtonState::bsExclusive);
    EXPECT_EQ(secondClicks.count(), 2);
    second->setDown(false);
    EXPECT_TRUE(second->Down());

    // A press released outside leaves it held.
    mouse(*second, QEvent::MouseButtonPress, { 3, 3 });
    mouse(*second, QEvent::MouseButtonRelease, { -3, 3 });
    EXPECT_EQ(second->State(), TButtonState::bsExclusive);

    // AllowAllUp is shared across the group.
    first->setAllowAllUp(true);
    EXPECT_TRUE(second->AllowAllUp());
    click(*second);
    EXPECT_FALSE(second->Down());
    EXPECT_EQ(second->State(), TButtonState::bsUp);
}

TEST(ColorSpeedButton, DoubleClickIsReportedOnlyWhileDown)
{
    QWidget parent;
    auto* button = new TColorSpeedButton(&parent);
    QSignalSpy doubles(button, &TColorSpeedButton::doubleClicked);
    mouse(*button, QEvent::MouseButtonDblClick, { 3, 3 });
    mouse(*button, QEvent::MouseButtonRelease, { 3, 3 });
    EXPECT_EQ(doubles.count(), 0);

    button->setGroupIndex(1);
    click(*button);
    ASSERT_TRUE(button->Down());
    mouse(*button, QEvent::MouseButtonDblClick, { 3, 3 });
    EXPECT_EQ(doubles.count(), 1);
}

TEST(ColorSpeedButton, MarginBelowMinusOneIsRefused)
{
    TColorSpeedButton button;
    button.setMargin(3);
    button.setMargin(-2);
    EXPECT_EQ(button.Margin(), 3);
    button.setMargin(-1);
    EXPECT_EQ(button.Margin(), -1);
}

TEST(ColorSpeedButton, GlyphCountComesFromAPictureSetButNotFromOneLoadedIntoIt)
{
    TColorSpeedButton button;
    button.setGlyph(picture(16, 4));
    EXPECT_EQ(button.NumGlyphs(), 4);
    button.setGlyph(picture(16, 5));
    EXPECT_EQ(button.NumGlyphs(), 1);

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("four.bmp"));
    QImage four = picture(16, 4);
    four.setPixel(0, 15, qRgb(255, 0, 255));
    ASSERT_TRUE(four.save(file, "BMP"));
    button.Glyph().LoadFromFile(file);
    EXPECT_EQ(button.NumGlyphs(), 1);
    EXPECT_EQ(button.Glyph().Width(), 64);
    EXPECT_EQ(button.GlyphObject().TransparentColor(), QColor(255, 0, 255))
        << "the background colour comes from the loaded picture's bottom-left pixel";

    button.setGlyph(picture(16, 2));
    button.Glyph().LoadFromFile(file);
    EXPECT_EQ(button.NumGlyphs(), 2);
}

TEST(ColorSpeedButton, AcceleratorOfTheCaptionClicksAnEnabledButton)
{
    QWidget window;
    auto* button = new TColorSpeedButton(&window);
    button->setCaption(QStringLiteral("&Go && stop"));
    QSignalSpy clicks(button, &TColorSpeedButton::clicked);

    EXPECT_FALSE(button->DialogChar(QLatin1Char('s')));
    EXPECT_TRUE(button->DialogChar(QLatin1Char('g')));
    EXPECT_EQ(clicks.count(), 1);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 2);

    button->setEnabled(false);
    EXPECT_FALSE(button->DialogChar(QLatin1Char('G')));
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(ColorSpeedButton, ASharedAcceleratorClicksTheFirstEnabledButtonEveryTime)
{
    QWidget window;
    auto* disabled = new TColorSpeedButton(&window);
    disabled->setCaption(QStringLiteral("&Alpha"));
    disabled->setEnabled(false);
    auto* first = new TColorSpeedButton(&window);
    first->setCaption(QStringLiteral("&Apple"));
    auto* second = new TColorSpeedButton(&window);
    second->setCaption(QStringLiteral("&axe"));
    QSignalSpy firstClicks(first, &TColorSpeedButton::clicked);
    QSignalSpy secondClicks(second, &TColorSpeedButton::clicked);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (int n = 0; n < 3; ++n)
        QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(firstClicks.count(), 3);
    EXPECT_EQ(secondClicks.count(), 0);
}

TEST(ColorSpeedButton, DisabledParentStopsInputButNotTheLook)
{
    QWidget parent;
    auto* button = new TColorSpeedButton(&parent);
    parent.setEnabled(false);
    render(*button);
    EXPECT_EQ(button->State(), TButtonState::bsUp);
    parent.setEnabled(true);
    button->setEnabled(false);
    render(*button);
    EXPECT_EQ(button->State(), TButtonState::bsDisabled);
    button->setEnabled(true);
    render(*button);
    EXPECT_EQ(button->State(), TButtonState::bsUp);
}

TEST(ColorSpeedButton, EqualSizedPicturesShareOneImageList)
{
    {
        QWidget parent;
        for (int i = 0; i < 5; ++i) {
            auto* button = new TColorSpeedButton(&parent);
            button->resize(40, 30);
            button->setGlyph(picture(16, 1));
            button->setColor(0x10 * i);
            render(*button);
        }
        ASSERT_NE(TGlyphCache::instance(), nullptr);
        EXPECT_EQ(TGlyphCache::instance()->ListCount(), 1);
        EXPECT_EQ(TGlyphCache::instance()->GetList(16, 16)->Count(), 5);
    }
    EXPECT_EQ(TGlyphCache::instance(), nullptr);
}
