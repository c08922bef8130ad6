// The launcher screen: applying menus, activating gadgets, the edit gesture.
#include "controls/Colorbut.h"
#include "controls/Panel.h"
#include "desk/Scrollpas.h"
#include "editor/Unit2.h"
#include "launcher/myver.h"
#include "platform/Guard.h"
#include "rtl/Errors.h"
#include "support/WindowsFixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>

using testing_support::FixedClock;
using testing_support::readFile;
using testing_support::sampleMenuLines;
using testing_support::waitUntil;

namespace {

QList<QByteArray> withGadget(QList<QByteArray> lines, int n, int field, const QByteArray& value)
{
    lines[menufile::gadgetLine(n, field) - 1] = value;
    return lines;
}

class Launcher : public WindowsFixture {
protected:
    TMainForm& launcher() { return *qobject_cast<TMainForm*>(session().MainForm); }
    TColorSpeedButton& gadget(int n) { return *launcher().Gadgets[size_t(n)]; }
    void click(int n) { QTest::mouseClick(&gadget(n), Qt::LeftButton); }
    std::vector<testing_support::ShownBox>& boxes() { return dialogs_.boxes; }
};

TEST_F(Launcher, CreationLoadsAndAppliesMainMenu)
{
    auto lines = sampleMenuLines();
    lines = withGadget(lines, 37, menufile::BackColor, "$FF");
    lines = withGadget(lines, 37, menufile::FontColor, "-2147483633");
    lines = withGadget(lines, 37, menufile::FontName, QByteArray(40, 'F'));
    start(lines);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(session().Menu.MenuFileName, path("ConFigs/Main.ini"));
    EXPECT_EQ(launcher().ColumnTitles[3]->Caption(), "T3");
    EXPECT_EQ(gadget(37).Caption(), "G37");
    EXPECT_EQ(gadget(37).Color(), 255);
    EXPECT_EQ(gadget(37).FontColor(), qint32(0x8000000F));
    EXPECT_EQ(gadget(37).font().family(), QString(31, 'F'));
    EXPECT_EQ(launcher().geometry(), QRect(0, 0, 1024, 768));
    // Gadget 1 stands inside the one-pixel border of its panel, its frame one pixel further out.
    EXPECT_EQ(gadget(1).mapTo(&launcher(), QPoint(0, 0)), QPoint(49, 89));
    EXPECT_EQ(gadget(56).mapTo(&launcher(), QPoint(0, 0)), QPoint(602, 33 + 56 + 34 * 13));
}

TEST_F(Launcher, AShortMenuAppliesUpToItsFirstEmptyColourLine)
{
    auto lines = sampleMenuLines();
    const QString picture = writeBitmap("Pictures/p.bmp", QSize(16, 16), Qt::blue);
    lines = withGadget(lines, 20, menufile::GraphicPath, picture.toLocal8Bit());
    lines = withGadget(lines, 20, menufile::GraphicSide, "0");
    lines = withGadget(lines, 1, menufile::StartMode, "Menu");
    lines = withGadget(lines, 1, menufile::FilesPath, path("short.ini").toLocal8Bit());
    QList<QByteArray> shortMenu;
    for (int i = 0; i < 100; ++i)
        shortMenu.append("S" + QByteArray::number(i + 1));
    for (int n = 1; n <= 12; ++n) {
        shortMenu[menufile::gadgetLine(n, menufile::BackColor) - 1] = QByteArray::number(1000 + n);
        shortMenu[menufile::gadgetLine(n, menufile::FontColor) - 1] = "0";
    }
    writeMenu("short.ini", shortMenu);
    start(lines);
    ASSERT_FALSE(gadget(20).Glyph().Empty());

    click(1);

    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].kind, "error");
    EXPECT_EQ(boxes()[0].text, "'' is not a valid integer value.");
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(launcher().ColumnTitles[size_t(c)]->Caption(), "");
    for (int n = 1; n <= 12; ++n) {
        EXPECT_EQ(gadget(n).Caption(), "S" + QString::number(menufile::gadgetLine(n, menufile::GadgetName)));
        EXPECT_EQ(gadget(n).Color(), 1000 + n);
    }
    EXPECT_EQ(gadget(13).Caption(), "S100");
    EXPECT_EQ(gadget(13).Color(), 13);
    for (int n = 14; n <= 56; ++n) {
        EXPECT_EQ(gadget(n).Caption(), "G" + QString::number(n));
        EXPECT_EQ(gadget(n).Color(), n);
    }
    EXPECT_FALSE(gadget(20).Glyph().Empty());
    EXPECT_EQ(session().Menu[100], "S100");
    EXPECT_EQ(session().Menu[101], "");
    EXPECT_EQ(session().Menu.MenuFileName, path("short.ini"));
}

TEST_F(Launcher, APictureThatCannotBeLoadedStopsThePictureStep)
{
    auto lines = sampleMenuLines();
    const QString good = writeBitmap("Pictures/good.bmp", QSize(16, 16), Qt::green);
    QFile::copy(good, path("Pictures/fake.png"));
    QImage png(4, 4, QImage::Format_RGB32);
    png.fill(Qt::red);
    png.save(path("Pictures/png.bmp"), "PNG");
    for (int n : { 3, 9 })
        lines = withGadget(
            withGadget(lines, n, menufile::GraphicPath, good.toLocal8Bit()), n, menufile::GraphicSide, "1");
    start(lines);
    ASSERT_FALSE(gadget(9).Glyph().Empty());

    struct Case {
        QByteArray picture;
        QString message;
    };
    const Case cases[] = {
        { "", "Cannot open file ." },
        { path("Pictures/missing.bmp").toLocal8Bit(), "Cannot open file " + path("Pictures/missing.bmp") + "." },
        { path("Pictures/png.bmp").toLocal8Bit(), "Bitmap image is not valid." },
    };
    for (const Case& c : cases) {
        boxes().clear();
        auto menu = withGadget(lines, 5, menufile::GraphicPath, c.picture);
        menu = withGadget(menu, 5, menufile::GraphicSide, "0");
        menu = withGadget(menu, 9, menufile::GraphicSide, "2");
        menu = withGadget(menu, 3, menufile::GraphicSide, "0");
        menu = withGadget(menu, 50, menufile::GadgetName, "changed");
        writeMenu("ConFigs/Main.ini", menu);
        gadget(3).setLayout(TButtonLayout::blGlyphRight);
        session().Menu.LoadMenu(path("ConFigs/Main.ini"));
        platform::guarded([&] { launcher().ApplyMenu(); });

        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, c.message);
        EXPECT_EQ(gadget(50).Caption(), "changed"); // captions come first
        EXPECT_EQ(gadget(3).Layout(), TButtonLayout::blGlyphLeft); // earlier pictures applied
        EXPECT_TRUE(gadget(5).Glyph().Empty()); // the failed one unchanged
        EXPECT_FALSE(gadget(9).Glyph().Empty()); // later ones untouched
    }
}

TEST_F(Launcher, RunGadgetStartsTheProgramInItsOwnFolder)
{
    auto lines = sampleMenuLines();
    const QString script = writeRecorderScript("Tools/sub dir/record.sh");
    lines
        = withGadget(withGadget(lines, 37, menufile::StartMode, "Run"), 37, menufile::FilesPath, script.toLocal8Bit());
    start(lines);
    // Running a gadget moves the current folder; it comes back with the test.
    const testing_support::ScopedCurrentFolder keep;
    launcher().showAndRaise();
    ASSERT_FALSE(session().Form1->isVisible());

    click(37);

    EXPECT_TRUE(session().Form1->isVisible());
    EXPECT_FALSE(launcher().isVisible());
    EXPECT_EQ(QDir::currentPath(), path("Tools/sub dir"));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(script + ".ran"); }));
    EXPECT_EQ(readFile(script + ".ran"), (path("Tools/sub dir") + "\n").toUtf8());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Launcher, MissingFilesAndUnstartableProgramsAreReported)
{
    auto lines = sampleMenuLines();
    writeMenu("text.txt", { "not a program" });
    lines = withGadget(
        withGadget(lines, 1, menufile::StartMode, "Run"), 1, menufile::FilesPath, path("nothing.exe").toLocal8Bit());
    lines = withGadget(withGadget(lines, 2, menufile::StartMode, "Menu"), 2, menufile::FilesPath, "");
    lines = withGadget(
        withGadget(lines, 3, menufile::StartMode, "Run"), 3, menufile::FilesPath, path("text.txt").toLocal8Bit());
    lines = withGadget(
        withGadget(lines, 4, menufile::StartMode, "run"), 4, menufile::FilesPath, path("text.txt").toLocal8Bit());
    start(lines);
    launcher().showAndRaise();

    click(1);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].caption, "Kavro Start, Reporting!");
    EXPECT_EQ(boxes()[0].text, "I Can`t find the Exe File, Please Check Full Path!");
    EXPECT_TRUE(launcher().isVisible());

    click(2);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].caption, "Kavro Start, Reporting!");
    EXPECT_EQ(boxes()[1].text, "I Can`t find the ini File, Please Check Full Path!");
    EXPECT_EQ(session().Menu.MenuFileName, path("ConFigs/Main.ini"));

    click(4); // "run" in lower case does nothing
    EXPECT_EQ(boxes().size(), 2u);
    EXPECT_TRUE(launcher().isVisible());

    // Running a gadget moves the current folder; it comes back with the test.
    const testing_support::ScopedCurrentFolder keep;
    click(3);
    ASSERT_EQ(boxes().size(), 3u);
    EXPECT_EQ(boxes()[2].kind, "error");
    EXPECT_TRUE(boxes()[2].text.contains(path("text.txt"))) << boxes()[2].text.toStdString();
    EXPECT_TRUE(session().Form1->isVisible());
    EXPECT_FALSE(launcher().isVisible());
}

TEST_F(Launcher, HoldingAKeyWhileClickingOpensTheEditorInstead)
{
    auto lines = sampleMenuLines();
    const QString script = writeRecorderScript("Tools/record.sh");
    lines
        = withGadget(withGadget(lines, 37, menufile::StartMode, "Run"), 37, menufile::FilesPath, script.toLocal8Bit());
    start(lines);
    // Running a gadget moves the current folder; it comes back with the test.
    const testing_support::ScopedCurrentFolder keep;
    launcher().showAndRaise();

    QTest::keyPress(&launcher(), Qt::Key_A);
    // Releases that auto-repeat sends while the key stays down change nothing.
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), true);
    QCoreApplication::sendEvent(&launcher(), &repeatRelease);
    EXPECT_TRUE(launcher().EditKeyDown);
    click(37);

    EXPECT_EQ(session().Menu.EditedGadget, 37);
    EXPECT_FALSE(launcher().EditKeyDown);
    EXPECT_TRUE(session().Form2->isVisible());
    EXPECT_FALSE(launcher().isEnabled());
    EXPECT_TRUE(launcher().isVisible());
    EXPECT_EQ(QDir::currentPath(), keep.previous());

    session().Form2->close();
    EXPECT_TRUE(launcher().isEnabled());
    QTest::keyRelease(&launcher(), Qt::Key_A);
    click(37);
    EXPECT_FALSE(launcher().isVisible());
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(script + ".ran"); }));
}

TEST_F(Launcher, TheHeldEditKeyRepeatsIntoNothingUntilItIsReleased)
{
    start(sampleMenuLines());
    launcher().showAndRaise();
    QTest::keyPress(&launcher(), Qt::Key_A);
    click(3);
    QLineEdit* name = qobject_cast<TForm2*>(session().Form2)->Edit1;
    ASSERT_TRUE(session().Form2->isVisible());
    name->setFocus();
    const QString before = name->text();
    const auto sendA = [&](bool press, bool repeat) {
        QTest::simulateEvent(name, press, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), repeat);
    };
    // Auto-repeat, whether or not the platform marks it so.
    sendA(true, true);
    sendA(false, true);
    sendA(true, true);
    sendA(true, false);
    EXPECT_EQ(name->text(), before);
    sendA(false, false);
    sendA(true, false);
    EXPECT_EQ(name->text(), before + u'a');

    // Another key ends the holding too: the held one repeats no more.
    session().Form2->close();
    QTest::keyPress(&launcher(), Qt::Key_B);
    click(3);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_C);
    QTest::keyClick(name, Qt::Key_B);
    EXPECT_EQ(name->text(), before + QStringLiteral("cb"));
}

TEST_F(Launcher, ClosedByTheWindowManagerItBringsTheControlBoxBackButNotWhileTheEditorIsOpen)
{
    start(sampleMenuLines());
    launcher().showAndRaise();
    QTest::keyPress(&launcher(), Qt::Key_A);
    click(3);
    ASSERT_TRUE(session().Form2->isVisible());
    // As a close request of the window manager arrives (a click on the disabled launcher, Alt+F4).
    EXPECT_FALSE(launcher().windowHandle()->close());
    EXPECT_TRUE(launcher().isVisible());
    session().Form2->close();
    ASSERT_FALSE(session().Form1->isVisible());
    ASSERT_TRUE(launcher().windowHandle()->close());
    EXPECT_FALSE(launcher().isVisible());
    EXPECT_TRUE(session().Form1->isVisible());
}

TEST_F(Launcher, AKeyReleasedElsewhereDoesNotTurnTheNextClickIntoAnEdit)
{
    start(sampleMenuLines());
    launcher().showAndRaise();
    QTest::keyPress(&launcher(), Qt::Key_Shift);
    launcher().hide();
    EXPECT_FALSE(launcher().EditKeyDown);
    launcher().showAndRaise();
    QTest::keyPress(&launcher(), Qt::Key_Control);
    QFocusEvent focusLost(QEvent::FocusOut);
    QCoreApplication::sendEvent(&launcher(), &focusLost);
    EXPECT_FALSE(launcher().EditKeyDown);
}

TEST_F(Launcher, CloseButtonShowsTheControlBoxAndTheDateLineFollowsTheClock)
{
    start(sampleMenuLines());
    launcher().showAndRaise();
    EXPECT_FALSE(session().Form1->isVisible());
    QTest::mouseClick(launcher().ColorSpeedButton57, Qt::LeftButton);
    EXPECT_TRUE(session().Form1->isVisible());
    EXPECT_FALSE(launcher().isVisible());

    // Hidden, the date line rests; it is right the moment the window shows and follows the clock.
    EXPECT_FALSE(launcher().Timer1->isActive());
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(23, 5, 59)));
    launcher().showAndRaise();
    EXPECT_EQ(launcher().Label1->text(), "06,Dec,2026  11:05: PM");
    EXPECT_TRUE(launcher().Timer1->isActive());
    clock.set(QDateTime(QDate(2026, 12, 6), QTime(23, 6, 0)));
    EXPECT_TRUE(waitUntil([&] { return launcher().Label1->text() == "06,Dec,2026  11:06: PM"; }, 3000));
}

TEST_F(Launcher, MissingMainMenuSaysSoAndAsksToQuit)
{
    start({});
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].caption, "Kavro Start, Saying!");
    EXPECT_EQ(boxes()[0].text, "Were off on a great strat here I can`t find the Main.ini?");
    EXPECT_EQ(session().Menu.MenuFileName, "");
}

} // namespace
