// The colour push button: kinds, the toggle, its face and its keys.
#include "ButtonTestSupport.h"
#include "controls/Colorbut.h"
#include "controls/KindGlyphs.h"
#include "platform/SystemColors.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

using namespace button_testing;

namespace {

struct KindCase {
    TBitBtnKind kind;
    const char* caption;
    int modalResult;
    const char* picture;
};

const KindCase kindCases[] = {
    { TBitBtnKind::bkOK, "OK", 1, "BBOK" },
    { TBitBtnKind::bkCancel, "Cancel", 2, "BBCANCEL" },
    { TBitBtnKind::bkHelp, "&Help", 0, "BBHELP" },
    { TBitBtnKind::bkYes, "&Yes", 6, "BBYES" },
    { TBitBtnKind::bkNo, "&No", 7, "BBNO" },
    { TBitBtnKind::bkClose, "&Close", 0, "BBCLOSE" },
    { TBitBtnKind::bkAbort, "Abort", 3, "BBABORT" },
    { TBitBtnKind::bkRetry, "&Retry", 4, "BBRETRY" },
    { TBitBtnKind::bkIgnore, "&Ignore", 5, "BBIGNORE" },
    { TBitBtnKind::bkAll, "&All", 8, "BBALL" },
};

} // namespace

TEST(ColorBitBtn, KindSetsCaptionResultKeysAndItsTwoImagePicture)
{
    for (const KindCase& c : kindCases) {
        SCOPED_TRACE(c.picture);
        TColorBitBtn button;
        button.setCaption(QStringLiteral("Old"));
        button.setKind(c.kind);
        EXPECT_EQ(button.Kind(), c.kind);
        EXPECT_EQ(button.Caption(), QLatin1String(c.caption));
        EXPECT_EQ(button.ModalResult(), c.modalResult);
        EXPECT_EQ(button.Default(), c.kind == TBitBtnKind::bkOK || c.kind == TBitBtnKind::bkYes);
        EXPECT_EQ(button.Cancel(), c.kind == TBitBtnKind::bkCancel || c.kind == TBitBtnKind::bkNo);
        EXPECT_EQ(button.NumGlyphs(), 2);

        const QImage picture = button.Glyph().image();
        EXPECT_EQ(picture.size(), QSize(36, c.kind == TBitBtnKind::bkAll ? 19 : 18));
        std::set<QRgb> colours;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                colours.insert(picture.pixel(x, y));
        EXPECT_LE(colours.size(), 16u);
        EXPECT_GT(colours.size(), 2u);
        EXPECT_EQ(picture, kindGlyph(QLatin1String(c.picture)));
    }
}

TEST(ColorBitBtn, KindReadsCustomOnceAPropertyNoLongerMatches)
{
    TColorBitBtn button;
    button.setKind(TBitBtnKind::bkOK);
    button.setModalResult(2);
    EXPECT_EQ(button.Kind(), TBitBtnKind::bkCustom);
    button.setModalResult(1);
    EXPECT_EQ(button.Kind(), TBitBtnKind::bkCustom) << "once custom, it stays custom";

    button.setKind(TBitBtnKind::bkCancel);
    EXPECT_FALSE(button.Default());
    button.setDefault(true);
    EXPECT_EQ(button.Kind(), TBitBtnKind::bkCustom);

    button.setKind(TBitBtnKind::bkRetry);
    button.setGlyph(picture(16, 1));
    EXPECT_EQ(button.Kind(), TBitBtnKind::bkCustom);
    EXPECT_EQ(button.Caption(), QStringLiteral("&Retry"));
}

TEST(ColorBitBtn, AllowDownShowsPressedAfterOneClickAndRaisedAfterTheNext)
{
    QWidget window;
    window.resize(120, 60);
    auto* button = new TColorBitBtn(&window);
    button->setGeometry(10, 10, 80, 30);
    button->setColor(0x008000);
    button->setAllowDown(true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRgb shadow = rgb(platform::sysColor(platform::COLOR_BTNSHADOW));
    const QRgb highlight = rgb(platform::sysColor(platform::COLOR_BTNHIGHLIGHT));
    const QRgb frame = rgb(platform::sysColor(platform::COLOR_WINDOWFRAME));

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(40, 15));
    EXPECT_TRUE(button->Toggled());
    QImage pressed = render(*button);
    EXPECT_EQ(at(pressed, 0, 15), frame);
    EXPECT_EQ(at(pressed, 1, 15), shadow);
    EXPECT_EQ(at(pressed, 2, 15), qRgb(0, 128, 0));

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(40, 15));
    EXPECT_FALSE(button->Toggled());
    QImage raised = render(*button);
    const int edge = button->hasFocus() ? 1 : 0; // the focus frame comes first
    EXPECT_EQ(at(raised, edge, 15), highlight);
    EXPECT_EQ(at(raised, 79 - edge, 15), rgb(platform::sysColor(platform::COLOR_3DDKSHADOW)));
}

TEST(ColorBitBtn, FocusedButtonShowsItsFrameAndFocusRectangle)
{
    QWidget window;
    auto* button = new TColorBitBtn(&window);
    button->setGeometry(0, 0, 80, 30);
    button->setColor(0xFF0000);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());

    const QImage focused = render(*button);
    EXPECT_EQ(at(focused, 0, 15), rgb(platform::sysColor(platform::COLOR_WINDOWFRAME)));
    EXPECT_EQ(at(focused, 1, 15), rgb(platform::sysColor(platform::COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(at(focused, 2, 15), rgb(platform::sysColor(platform::COLOR_3DLIGHT)));
    EXPECT_EQ(at(focused, 3, 15), qRgb(0, 0, 255));
    // The dotted rectangle inverts every other pixel of the blue face.
    EXPECT_EQ(at(focused, 4, 4), qRgb(255, 255, 0));
    EXPECT_EQ(at(focused, 5, 4), qRgb(0, 0, 255));

    button->setFocusVisible(false);
    EXPECT_EQ(at(render(*button), 4, 4), qRgb(0, 0, 255));
}

TEST(ColorBitBtn, FocusedAndDefaultButtonsKeepTheirLookWhileTheirWindowIsInactive)
{
    QWidget window;
    auto* focused = new TColorBitBtn(&window);
    focused->setGeometry(0, 0, 80, 30);
    auto* ok = new TColorBitBtn(&window);
    ok->setGeometry(0, 40, 80, 30);
    ok->setDefault(true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    focused->setFocus();
    const QImage focusedActive = render(*focused);
    const QImage okActive = render(*ok);
    EXPECT_NE(focusedActive, okActive) << "the focused button shows its frame, the default one not";

    QWidget other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_FALSE(window.isActiveWindow());
    EXPECT_EQ(render(*focused), focusedActive);
    EXPECT_EQ(render(*ok), okActive);
}

TEST(ColorBitBtn, CloseKindClosesItsFormAndDefaultAnswersEnter)
{
    QWidget window;
    auto* ok = new TColorBitBtn(&window);
    ok->setKind(TBitBtnKind::bkOK);
    auto* close = new TColorBitBtn(&window);
    close->setKind(TBitBtnKind::bkClose);
    close->move(0, 40);
    auto* plain = new QWidget(&window);
    plain->setFocusPolicy(Qt::StrongFocus);
    plain->move(100, 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy okClicks(ok, &QAbstractButton::clicked);

    plain->setFocus();
    QTest::keyClick(plain, Qt::Key_Return);
    EXPECT_EQ(okClicks.count(), 1);

    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}
