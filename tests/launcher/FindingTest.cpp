// Typing to find gadgets on the launcher screen, and the keys that move its focus.
#include "controls/Colorbut.h"
#include "controls/Panel.h"
#include "launcher/FindMarks.h"
#include "launcher/myver.h"
#include "support/WindowsFixture.h"

#include <QFile>
#include <QListWidget>
#include <QTest>

using finding::Found;
using finding::MatchRank;
using testing_support::readFile;
using testing_support::sampleMenuLines;
using testing_support::waitUntil;

namespace {

class Finding : public WindowsFixture {
protected:
    // Gadget 3 "Text Editor" and gadget 20 "Notes" here; gadget 5 "Tools"
    // opens other.ini, whose gadget 1 "Terminal" runs a recorder.
    void startWithTwoMenus(bool show = true)
    {
        auto lines = sampleMenuLines();
        const auto set
            = [&](int n, int field, const QByteArray& value) { lines[menufile::gadgetLine(n, field) - 1] = value; };
        set(3, menufile::GadgetName, "Text Editor");
        set(20, menufile::GadgetName, "Notes");
        set(5, menufile::GadgetName, "Tools");
        set(5, menufile::StartMode, "Menu");
        set(5, menufile::FilesPath, path("other.ini").toLocal8Bit());
        auto other = sampleMenuLines();
        other[menufile::gadgetLine(1, menufile::GadgetName) - 1] = "Terminal";
        other[menufile::gadgetLine(1, menufile::StartMode) - 1] = "Run";
        other[menufile::gadgetLine(1, menufile::FilesPath) - 1] = writeRecorderScript("record.sh").toLocal8Bit();
        writeMenu("other.ini", other);
        start(lines);
        if (!show)
            return;
        launcher().showAndRaise();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&launcher()));
    }
    TMainForm& launcher() { return *qobject_cast<TMainForm*>(session().MainForm); }
    QImage look() { return launcher().grab().toImage(); }
    QString title() { return launcher().Panel6->Caption(); }
    testing_support::FixedClock clock_ { QDateTime(QDate(2026, 3, 2), QTime(10, 0)) };
};

TEST_F(Finding, TypingMarksTheMatchesOffersThoseOfOtherMenusAndEscapeGivesTheLookBack)
{
    startWithTwoMenus();
    const QImage before = look();
    const QByteArray mainMenu = readFile(path("ConFigs/Main.ini"));

    QTest::keyClicks(&launcher(), "tE");
    EXPECT_EQ(title(), " Find: tE");
    EXPECT_EQ(launcher().Found(),
        (std::vector<Found> {
            { 0, 3, MatchRank::CaptionStart }, { 1, 1, MatchRank::CaptionStart }, { 0, 20, MatchRank::Inside } }));
    EXPECT_TRUE(launcher().Marks->isVisible());
    ASSERT_EQ(launcher().OtherMatches->count(), 1);
    EXPECT_EQ(launcher().OtherMatches->item(0)->text(), "Terminal   (Tools)");
    EXPECT_NE(look(), before);
    QTest::keyClick(&launcher(), Qt::Key_Backspace);
    EXPECT_EQ(title(), " Find: t");

    QTest::keyClick(&launcher(), Qt::Key_Escape);
    EXPECT_EQ(launcher().FindText(), "");
    EXPECT_EQ(look(), before);
    EXPECT_FALSE(session().Form2->isVisible());
    EXPECT_EQ(readFile(path("ConFigs/Main.ini")), mainMenu);
    // A menu applied while finding (the menus following the computer) is searched again.
    QTest::keyClicks(&launcher(), "te");
    session().Menu[menufile::gadgetLine(20, menufile::GadgetName)] = "Nothing";
    launcher().ApplyMenu();
    EXPECT_EQ(launcher().Found().size(), 2u);
    QTest::keyClick(&launcher(), Qt::Key_Escape);
    // Not finding, Escape closes the launcher.
    QTest::keyClick(&launcher(), Qt::Key_Escape);
    EXPECT_FALSE(launcher().isVisible());
    EXPECT_TRUE(session().Form1->isVisible());
}

TEST_F(Finding, EnterStartsTheChosenMatchAndOneInAnotherMenuOpensThatMenuFirst)
{
    startWithTwoMenus();
    QTest::keyClicks(&launcher(), "te");
    QTest::keyClick(&launcher(), Qt::Key_Down);
    EXPECT_EQ(launcher().ChosenFound(), 1u);
    EXPECT_EQ(launcher().OtherMatches->currentRow(), 0);

    QTest::keyClick(&launcher(), Qt::Key_Return);
    EXPECT_EQ(session().Menu.MenuFileName, path("other.ini"));
    EXPECT_EQ(launcher().Gadgets[1]->Caption(), "Terminal");
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(path("record.sh.ran")); }));
    EXPECT_FALSE(launcher().isVisible());
}

TEST_F(Finding, ALetterHeldWhileClickingIsTheEditGestureAndItsRepeatFindsNothingMore)
{
    startWithTwoMenus();
    QTest::keyPress(&launcher(), Qt::Key_G);
    QTest::simulateEvent(&launcher(), true, Qt::Key_G, {}, QStringLiteral("g"), true);
    EXPECT_EQ(launcher().FindText(), "g");
    QTest::mouseClick(launcher().Gadgets[7], Qt::LeftButton);
    EXPECT_TRUE(session().Form2->isVisible());
    EXPECT_EQ(session().Menu.EditedGadget, 7);
    EXPECT_EQ(launcher().FindText(), "");
    EXPECT_EQ(title(), " Kavro Start");

    session().Form2->close();
    QTest::keyRelease(&launcher(), Qt::Key_G);
    QTest::keyClick(&launcher(), Qt::Key_G);
    QTest::mouseClick(launcher().Gadgets[5], Qt::LeftButton);
    EXPECT_FALSE(session().Form2->isVisible());
    EXPECT_EQ(session().Menu.MenuFileName, path("other.ini"));
}

TEST_F(Finding, ArrowsHomeEndAndTabMoveAVisibleFocusThatEnterStarts)
{
    startWithTwoMenus(false);
    // Without keys, the launcher looks the same before and after it shows, as it always has.
    launcher().Timer1Timer(); // the date line, as showing sets it
    const QImage before = look();
    launcher().showAndRaise();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&launcher()));
    EXPECT_EQ(look(), before);
    const struct {
        Qt::Key key;
        int focused;
    } steps[] = { { Qt::Key_Down, 1 }, { Qt::Key_Down, 2 }, { Qt::Key_Up, 1 }, { Qt::Key_Up, 1 }, { Qt::Key_Left, 1 },
        { Qt::Key_Right, 15 }, { Qt::Key_End, 56 }, { Qt::Key_Down, 56 }, { Qt::Key_Right, 56 }, { Qt::Key_Left, 42 },
        { Qt::Key_Tab, 43 }, { Qt::Key_Backtab, 42 }, { Qt::Key_Home, 1 }, { Qt::Key_Backtab, 56 }, { Qt::Key_Tab, 1 },
        { Qt::Key_Down, 2 } };
    for (const auto& step : steps) {
        QTest::keyClick(QApplication::focusWidget(), step.key);
        EXPECT_EQ(launcher().focusWidget(), launcher().Gadgets[size_t(step.focused)]) << step.key;
    }
    EXPECT_NE(look(), before);
    launcher().hide();
    launcher().showAndRaise();

    // The first key shows where the focus was left; Enter or Space starts the gadget it is on.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(launcher().focusWidget(), launcher().Gadgets[2]);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(launcher().focusWidget(), launcher().Gadgets[5]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(session().Menu.MenuFileName, path("other.ini"));
}

} // namespace
