// The planner window: its controls, log-in and change of user, the date
// hand-over from calendar, arrows and Today, clearing, the tree and list
// clicks, and the save at the end.
#include "planner/Planner.h"

#include "controls/Calendar.h"
#include "controls/Colorbut.h"
#include "controls/Panel.h"
#include "controls/Split32.h"
#include "desk/Scrollpas.h"
#include "planner/CalendarFileDialog.h"
#include "planner/Plann32.h"
#include "platform/Screen.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/stat.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

QByteArray key(const QDate& date, int column, int row) { return plan::makeKey(plan::packDate(date), column, row); }

class PlannerWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        {
            const testing_support::ScopedCurrentFolder inDir(dir.path());
            window = std::make_unique<TMainFormer>();
        }
        // Built as the first showing builds them, after the current folder has moved on.
        window->ensureControls();
        grid = window->Planning;
    }

    void logIn(const QString& name, const QString& pass)
    {
        window->Edit1->setText(name);
        window->Edit2->setText(pass);
        window->EnterBtn->click();
    }

    QString file(const QString& name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QString topNode() const
    {
        return window->TreeView1->topLevelItemCount() ? window->TreeView1->topLevelItem(0)->text(0) : QString();
    }
    QString lastBox() const { return boxes.boxes.empty() ? QString() : boxes.boxes.back().text; }

    QTemporaryDir dir;
    testing_support::RecordingDialogs boxes;
    testing_support::FixedClock clock { QDateTime(QDate(2026, 1, 31), QTime(10, 0)) };
    std::unique_ptr<TMainFormer> window; // destroyed first: its grid saves
    TPlanning* grid = nullptr;
};

} // namespace

// A planner nobody has opened has no controls yet; the first showing builds
// them with the day and the folder of the window's creation.
TEST(PlannerWindow, FirstShowingBuildsTheControlsWithTheDayAndFolderOfCreation)
{
    QTemporaryDir dir;
    testing_support::RecordingDialogs boxes;
    testing_support::FixedClock clock { QDateTime(QDate(2026, 1, 31), QTime(23, 59)) };
    auto inDir = std::make_optional<testing_support::ScopedCurrentFolder>(dir.path());
    TMainFormer window;
    inDir.reset();
    EXPECT_FALSE(window.controlsCreated());
    EXPECT_EQ(window.Planning, nullptr);

    clock.set(QDateTime(QDate(2026, 2, 2), QTime(8, 0)));
    window.showAndRaise();
    EXPECT_EQ(window.Cald->ShownDate(), QDate(2026, 1, 31));
    EXPECT_EQ(window.Panel2->Caption(), QStringLiteral("Saturday 31 January 26"));
    EXPECT_EQ(window.Planning->PlanDate(), QDate(2026, 1, 31));
    EXPECT_EQ(QDir(window.Planning->Path()), QDir(dir.path()));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PlannerWindowTest, ControlsStandWhereTheDesignPutsThem)
{
    EXPECT_EQ(window->Caption(), QStringLiteral("Planner"));
    EXPECT_EQ(window->minimumSize(), QSize(582, 434));
    EXPECT_EQ(window->maximumSize(), QSize(582, 434));
    const std::pair<QWidget*, QRect> places[] = {
        { window->Edit1, { 440, 152, 129, 21 } },
        { window->Edit2, { 440, 184, 129, 21 } },
        { window->ColorSpeedButton1, { 415, 216, 25, 25 } },
        { window->SpeedButton3, { 440, 216, 25, 25 } },
        { window->TodayBtn, { 472, 216, 49, 25 } },
        { window->EnterBtn, { 528, 216, 49, 25 } },
        { window->Panel1, { 378, 2, 202, 145 } },
        { window->Panel2, { 4, 4, 193, 25 } },
        { window->SpeedButton1, { 8, 4, 16, 16 } },
        { window->SpeedButton2, { 168, 4, 16, 16 } },
        { window->Cald, { 5, 33, 193, 108 } },
        { window->Panel3, { 0, 254, 580, 176 } },
        { window->TreeView1, { 2, 2, 150, 172 } },
        { window->ListView1, { 153, 2, 425, 172 } },
        { window->Splitter1, { 150, 2, 5, 172 } },
        { grid, { 2, 2, 374, 250 } },
    };
    for (const auto& [control, place] : places)
        EXPECT_EQ(control->geometry(), place) << control->metaObject()->className();
    // Labels stand at their places and are at least as wide as designed.
    EXPECT_EQ(window->User->geometry().topLeft(), QPoint(408, 160));
    EXPECT_GE(window->User->width(), 22);
    EXPECT_EQ(window->Pass->geometry().topLeft(), QPoint(408, 184));
    EXPECT_GE(window->Pass->width(), 23);
    EXPECT_EQ(window->Panel2->parentWidget(), window->Panel1);
    EXPECT_EQ(window->SpeedButton1->parentWidget(), window->Panel2);
    EXPECT_EQ(window->TreeView1->parentWidget(), window->Panel3);

    EXPECT_EQ(window->User->text(), QStringLiteral("User"));
    EXPECT_EQ(window->Pass->text(), QStringLiteral("Pass"));
    EXPECT_EQ(window->Edit2->echoMode(), QLineEdit::Password);
    EXPECT_EQ(window->ColorSpeedButton1->toolTip(), QStringLiteral("Clear day Entries"));
    EXPECT_EQ(window->SpeedButton3->toolTip(), QStringLiteral("Refresh"));
    EXPECT_EQ(window->TodayBtn->Caption(), QStringLiteral("&Today"));
    EXPECT_EQ(window->TodayBtn->toolTip(), QStringLiteral("Jump to Today's date"));
    EXPECT_EQ(window->EnterBtn->text(), QStringLiteral("&Enter"));
    EXPECT_EQ(window->EnterBtn->toolTip(), QStringLiteral("valid the identification"));
    EXPECT_TRUE(window->EnterBtn->isDefault());
    EXPECT_EQ(window->Panel2->Caption(), QStringLiteral("Saturday 31 January 26"));
    EXPECT_EQ(window->Cald->StartOfWeek(), 0);
    QStringList columns;
    for (int c = 0; c < window->ListView1->columnCount(); ++c)
        columns << window->ListView1->headerItem()->text(c) + QString::number(window->ListView1->columnWidth(c));
    EXPECT_EQ(columns, QStringList({ "Activity220", "Date60", "Hour60", "Kind65" }));
    EXPECT_EQ(topNode(), QStringLiteral("TPlanning Pro"));
    EXPECT_FALSE(grid->isEnabled());
    EXPECT_TRUE(grid->Authentication());
    EXPECT_EQ(grid->Path(), dir.path() + u'/');
    EXPECT_EQ(grid->PlanDate(), QDate(2026, 1, 31));
}

TEST_F(PlannerWindowTest, ShowingHidesTheControlBoxAndClosingShowsItAgain)
{
    platform::setScreenSizeForTesting(QSize(1024, 768));
    {
        TForm1 box;
        session().Form1 = &box;
        box.show();
        window->showAndRaise();
        EXPECT_FALSE(box.isVisible());
        window->close();
        EXPECT_TRUE(box.isVisible());
        EXPECT_FALSE(window->isVisible());
        session().Form1 = nullptr;
    }
    platform::setScreenSizeForTesting(std::nullopt);
}

TEST_F(PlannerWindowTest, ANewUserLogsInWithAnEmptyPasswordAndALaterWrongOneIsRefused)
{
    logIn(QStringLiteral("alice"), QString());
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_EQ(topNode(), QStringLiteral("alice"));

    logIn(QStringLiteral("alice"), QStringLiteral("wrong"));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Bad Password !"));
    EXPECT_FALSE(grid->isEnabled());
    EXPECT_TRUE(window->Edit2->text().isEmpty());
    EXPECT_EQ(topNode(), QStringLiteral("TPlanning Pro"));
}

TEST_F(PlannerWindowTest, TheEnterKeyInThePasswordBoxLogsInButNotInTheGrid)
{
    window->showAndRaise();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->Edit1->setText(QStringLiteral("bob"));
    window->Edit2->setFocus();
    QTest::keyClick(window->Edit2, Qt::Key_Return);
    EXPECT_EQ(grid->User(), QStringLiteral("bob"));
    EXPECT_TRUE(grid->isEnabled());

    window->Edit1->setText(QStringLiteral("carol"));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->User(), QStringLiteral("bob"));

    // Enter that ends the editing of a list caption logs nobody in either.
    auto* item = new QTreeWidgetItem(window->ListView1, QStringList(QStringLiteral("caption")));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    window->ListView1->editItem(item, 0);
    auto* captionEditor = window->ListView1->findChild<QLineEdit*>();
    ASSERT_NE(captionEditor, nullptr);
    QTest::keyClick(captionEditor, Qt::Key_Return);
    EXPECT_EQ(grid->User(), QStringLiteral("bob"));
    window->close();
}

TEST_F(PlannerWindowTest, ClickingAnotherDayFilesTheEditsUnderTheOldDay)
{
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    grid->setCells(1, 1, QStringLiteral("Saturday work"));
    const QPoint day30 = calendar::cellOfDay(window->Cald->MonthOffset(), 30);
    ASSERT_TRUE(window->Cald->ClickCell(day30.x(), day30.y()));
    EXPECT_EQ(readFile(file("bob.tpl")), key(QDate(2026, 1, 31), 1, 1) + "Saturday work\r\n");
    EXPECT_EQ(grid->PlanDate(), QDate(2026, 1, 30));
    EXPECT_TRUE(grid->Cells(1, 1).isEmpty());
    EXPECT_EQ(window->Panel2->Caption(), QStringLiteral("Friday 30 January 26"));
    EXPECT_EQ(window->TreeView1->findItems(QStringLiteral("1/31/26"), Qt::MatchRecursive).size(), 1);
}

TEST_F(PlannerWindowTest, ClearThenChangeOfDateDeletesTheDayAndClearThenLogInOverlaysItAgain)
{
    const QByteArray entries = key(QDate(2026, 1, 31), 2, 4) + "Kept\r\n" + key(QDate(2026, 1, 30), 1, 1) + "Other\r\n";
    writeFile(file("bob.tpl"), entries);
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    EXPECT_EQ(grid->Cells(2, 4), QStringLiteral("Kept"));
    window->ColorSpeedButton1Click();
    EXPECT_TRUE(grid->Cells(2, 4).isEmpty());
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    EXPECT_EQ(grid->Cells(2, 4), QStringLiteral("Kept"));

    window->ColorSpeedButton1Click();
    window->SpeedButton2Click();
    EXPECT_EQ(readFile(file("bob.tpl")), key(QDate(2026, 1, 30), 1, 1) + "Other\r\n");
}

TEST_F(PlannerWindowTest, MonthArrowsKeepTheDayAsFarAsTheMonthAllowsAndTheGridFollows)
{
    window->SpeedButton2Click();
    EXPECT_EQ(window->Cald->ShownDate(), QDate(2026, 2, 28));
    EXPECT_EQ(grid->PlanDate(), QDate(2026, 2, 28));
    window->SpeedButton1Click();
    EXPECT_EQ(grid->PlanDate(), QDate(2026, 1, 28));
}

TEST_F(PlannerWindowTest, TodayMovesCalendarAndGridInOneHandOver)
{
    struct Case {
        QDate shown, today;
    };
    const Case cases[] = {
        { QDate(2024, 2, 29), QDate(2026, 3, 30) }, // the grid's day 30 does not exist in February
        { QDate(2026, 2, 10), QDate(2026, 3, 31) }, // the calendar shows a shorter month
        { QDate(2026, 1, 31), QDate(2028, 2, 29) }, // 29 February of a leap year
    };
    for (const Case& c : cases) {
        window->Cald->SetShownDate(c.shown);
        int handOvers = 0;
        const auto counter = QObject::connect(window->Cald, &TCalendar::OnChange, [&] { ++handOvers; });
        clock.set(QDateTime(c.today, QTime(8, 0)));
        window->TodayBtn->click();
        QObject::disconnect(counter);
        EXPECT_EQ(handOvers, 1) << c.today.toString().toStdString();
        EXPECT_EQ(window->Cald->ShownDate(), c.today);
        EXPECT_EQ(grid->PlanDate(), c.today);
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PlannerWindowTest, AWrongPasswordForAnotherUserSavesTheFirstUsersDayAndWritesNoOtherFile)
{
    writeFile(file("Zure003.usr"), "[Pass]\r\nalice=secret\r\nbob=pw\r\n");
    const QByteArray aliceEntries = key(QDate(2026, 1, 31), 1, 1) + "Alice's own\r\n";
    writeFile(file("alice.tpl"), aliceEntries);
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    grid->setCells(3, 5, QStringLiteral("Bob's unsaved"));

    logIn(QStringLiteral("alice"), QStringLiteral("not hers"));
    EXPECT_EQ(lastBox(), QStringLiteral("Bad Password !"));
    EXPECT_EQ(readFile(file("bob.tpl")), key(QDate(2026, 1, 31), 3, 5) + "Bob's unsaved\r\n");
    EXPECT_FALSE(grid->isEnabled());
    EXPECT_TRUE(grid->Cells(3, 5).isEmpty());
    EXPECT_EQ(grid->Store().size(), 0);
    EXPECT_EQ(topNode(), QStringLiteral("TPlanning Pro"));

    // Nobody's entries are read either, not even from a file named without a user.
    writeFile(file(".tpl"), key(QDate(2025, 12, 31), 1, 1) + "nobody's\r\n");
    window->SpeedButton1Click();
    EXPECT_TRUE(grid->Cells(1, 1).isEmpty());
    EXPECT_EQ(topNode(), QStringLiteral("TPlanning Pro"));
    window.reset();
    EXPECT_EQ(readFile(file("alice.tpl")), aliceEntries);
    EXPECT_EQ(readFile(file("Zure003.usr")), "[Pass]\r\nalice=secret\r\nbob=pw\r\n");
    EXPECT_EQ(readFile(file("bob.tpl")), key(QDate(2026, 1, 31), 3, 5) + "Bob's unsaved\r\n");
    EXPECT_EQ(files(), QStringList({ ".tpl", "Zure003.usr", "alice.tpl", "bob.tpl" }));
}

TEST_F(PlannerWindowTest, AnotherUsersLogInNeverShowsOrSavesThePreviousUsersEntries)
{
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    grid->setCells(1, 2, QStringLiteral("Bob's"));
    logIn(QStringLiteral("carol"), QStringLiteral("pw2"));
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_TRUE(grid->Cells(1, 2).isEmpty());
    grid->setCells(1, 3, QStringLiteral("Carol's"));
    window.reset();
    EXPECT_EQ(readFile(file("bob.tpl")), key(QDate(2026, 1, 31), 1, 2) + "Bob's\r\n");
    EXPECT_EQ(readFile(file("carol.tpl")), key(QDate(2026, 1, 31), 1, 3) + "Carol's\r\n");
}

TEST_F(PlannerWindowTest, ARefusedUserNameWritesNothing)
{
    for (const QString& name : { QStringLiteral("../x"), QString(), QStringLiteral(" pad") }) {
        logIn(name, QStringLiteral("pw"));
        EXPECT_EQ(boxes.boxes.back().caption, QStringLiteral("Information"));
        EXPECT_FALSE(lastBox().isEmpty());
        EXPECT_NE(lastBox(), QStringLiteral("Bad Password !"));
    }
    EXPECT_FALSE(grid->isEnabled());
    window.reset();
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(PlannerWindowTest, TheCalendarCannotLeaveThePackableYears)
{
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    window->Cald->SetShownDate(QDate(1980, 1, 15));
    const QByteArray saved = readFile(file("bob.tpl"));
    grid->setCells(1, 1, QStringLiteral("not yet saved"));
    window->SpeedButton1Click();
    EXPECT_TRUE(lastBox().contains(QStringLiteral("1980")));
    EXPECT_EQ(window->Cald->ShownDate(), QDate(1980, 1, 15));
    EXPECT_EQ(grid->PlanDate(), QDate(1980, 1, 15));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("not yet saved"));
    EXPECT_EQ(readFile(file("bob.tpl")), saved);
}

TEST_F(PlannerWindowTest, TreeAndListClicksListADayAndToggleItsEntry)
{
    writeFile(file("bob.tpl"), key(QDate(2026, 1, 30), 2, 2) + "Task\r\n");
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    const auto days = window->TreeView1->findItems(QStringLiteral("1/30/26"), Qt::MatchRecursive);
    ASSERT_EQ(days.size(), 1);
    days[0]->setSelected(true);
    window->TreeView1Click();
    ASSERT_EQ(window->ListView1->topLevelItemCount(), 1);
    window->ListView1->topLevelItem(0)->setSelected(true);
    window->ListView1Click();
    EXPECT_EQ(readFile(file("bob.tpl")), key(QDate(2026, 1, 30), 2, 2) + "Task#\r\n");

    window->TreeView1->clearSelection();
    window->TreeView1->topLevelItem(0)->setSelected(true); // the user node
    window->TreeView1Click();
    EXPECT_EQ(window->ListView1->topLevelItemCount(), 0);
}

TEST_F(PlannerWindowTest, TheOpenCellEditorIsSavedWhenTheProgramEnds)
{
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    window->showAndRaise();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    grid->setCurrentCell(4, 3);
    grid->edit(grid->currentIndex());
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("typed at the end"));
    window.reset();
    EXPECT_EQ(readFile(file("bob.tpl")), key(QDate(2026, 1, 31), 3, 4) + "typed at the end\r\n");
}

TEST_F(PlannerWindowTest, NamesThatDifferOutsideAsciiLettersNeverShareAFile)
{
    struct Case {
        const char* registered;
        const char* newcomer;
    };
    const Case cases[] = {
        { "karl", "\u212Aarl" }, // Kelvin sign
        { "sam", "\u017Fam" }, // long s
        { "\u00E9mile", "\u00C9mile" }, // é, É
    };
    for (const Case& c : cases) {
        const QString registered = QString::fromUtf8(c.registered);
        const QString newcomer = QString::fromUtf8(c.newcomer);
        SCOPED_TRACE(registered.toStdString());
        window.reset();
        SetUp();
        const QByteArray entries = key(QDate(2026, 1, 31), 1, 1) + "private\r\n";
        writeFile(file("Zure003.usr"), "[Pass]\r\n" + registered.toUtf8() + "=secret\r\n");
        writeFile(file(registered + ".tpl"), entries);

        logIn(newcomer, QStringLiteral("any"));
        EXPECT_TRUE(grid->isEnabled());
        EXPECT_TRUE(grid->Cells(1, 1).isEmpty());
        grid->setCells(1, 2, QStringLiteral("newcomer's"));
        window->SpeedButton2Click();
        EXPECT_EQ(readFile(file(registered + ".tpl")), entries);
        EXPECT_EQ(readFile(file(newcomer + ".tpl")), key(QDate(2026, 1, 31), 1, 2) + "newcomer's\r\n");

        // Only ASCII letters fold: the name with those in capitals is the registered user.
        QString capitals = registered;
        for (QChar& letter : capitals)
            if (letter >= u'a' && letter <= u'z')
                letter = letter.toUpper();
        logIn(capitals, QStringLiteral("secret"));
        EXPECT_TRUE(grid->isEnabled());
        EXPECT_EQ(grid->PlannerFileName(), file(registered + ".tpl"));
    }
}

TEST_F(PlannerWindowTest, ALogInWhoseEntriesCannotBeReadLeavesNobodyLoggedInAndWritesNothing)
{
    // A read error: the kernel answers every read of this file with EIO.
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), file("bob.tpl")));
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    EXPECT_EQ(lastBox(), QStringLiteral("I/O error 5."));
    EXPECT_TRUE(grid->User().isEmpty());
    EXPECT_FALSE(grid->isEnabled());
    grid->setCells(1, 1, QStringLiteral("typed"));
    window->SpeedButton2Click();
    window.reset();
    EXPECT_EQ(files(), QStringList({ "bob.tpl" }));
    EXPECT_EQ(QFileInfo(file("bob.tpl")).symLinkTarget(), QStringLiteral("/proc/self/mem"));
}

TEST_F(PlannerWindowTest, ALogInWhoseEntriesTheUserMayNotReadLeavesTheFileAlone)
{
    const QByteArray users = "[Pass]\r\nbob=pw\r\n";
    const QByteArray entries = key(QDate(2026, 1, 31), 1, 1) + "Bob's\r\n" + key(QDate(2026, 2, 1), 1, 1) + "more\r\n";
    writeFile(file("Zure003.usr"), users);
    writeFile(file("bob.tpl"), entries);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(file("Zure003.usr")).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(file("bob.tpl")).constData(), 0), 0);
    const auto result = testing_support::runAsUnprivileged([this] {
        logIn(QStringLiteral("bob"), QStringLiteral("pw"));
        const bool refused = lastBox() == QStringLiteral("File access denied.") && grid->User().isEmpty();
        grid->setCells(1, 1, QStringLiteral("typed"));
        window->SpeedButton2Click();
        return refused;
    });
    if (result == testing_support::ChildResult::CannotDropPrivileges)
        GTEST_SKIP() << "cannot run a child as an unprivileged user";
    EXPECT_EQ(result, testing_support::ChildResult::Passed);
    EXPECT_EQ(readFile(file("bob.tpl")), entries);
    EXPECT_EQ(readFile(file("Zure003.usr")), users);
}

TEST_F(PlannerWindowTest, NamesUpToTheFileNameLimitSaveAndLongerOnesAreRefusedBeforeAnythingIsStored)
{
    const QString longest(251, u'x'); // with ".tpl" exactly 255 bytes
    logIn(longest, QStringLiteral("pw"));
    EXPECT_TRUE(boxes.boxes.empty());
    grid->setCells(1, 1, QStringLiteral("kept"));
    window->SpeedButton2Click();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(readFile(file(longest + ".tpl")), key(QDate(2026, 1, 31), 1, 1) + "kept\r\n");

    const QByteArray users = readFile(file("Zure003.usr"));
    for (const QString& name : { QString(252, u'y'), QString(126, QChar(0xE9)) }) {
        logIn(name, QStringLiteral("pw"));
        EXPECT_EQ(lastBox(), QStringLiteral("The user name is too long."));
    }
    EXPECT_EQ(readFile(file("Zure003.usr")), users);
}

TEST_F(PlannerWindowTest, APasswordWithControlCharactersIsRefusedAndWritesNothing)
{
    for (const QString& password : { QStringLiteral("pw\n[Pass]\nalice=evil"), QStringLiteral("tab\there") }) {
        logIn(QStringLiteral("mallory"), password);
        ASSERT_FALSE(boxes.boxes.empty());
        EXPECT_EQ(boxes.boxes.back().caption, QStringLiteral("Information"));
        EXPECT_TRUE(lastBox().contains(QStringLiteral("control characters"))) << lastBox().toStdString();
        EXPECT_FALSE(grid->isEnabled());
    }
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(PlannerWindowTest, ATodayOutsideThePlannersYearsKeepsTheGridFromTypingUntilADayWithinThem)
{
    for (const QDate today : { QDate(2100, 1, 5), QDate(1979, 12, 31) }) {
        clock.set(QDateTime(today, QTime(9, 0)));
        window.reset();
        SetUp();
        logIn(QStringLiteral("bob"), QStringLiteral("pw"));
        EXPECT_FALSE(grid->isEnabled()) << today.year();
        EXPECT_TRUE(lastBox().contains(QStringLiteral("1980"))) << today.year();
        window->Cald->SetShownDate(today.year() > 2099 ? QDate(2099, 12, 31) : QDate(1980, 1, 1));
        EXPECT_TRUE(grid->isEnabled()) << today.year();
    }
}

TEST_F(PlannerWindowTest, TheListsMenuImportsAndExportsTheEntriesOfTheUserLoggedIn)
{
    struct ChosenFile final : plan::CalendarFileDialog {
        ChosenFile() { plan::setCalendarFileDialog(this); }
        ~ChosenFile() override { plan::setCalendarFileDialog(nullptr); }
        std::optional<QString> chooseCalendarFile(
            QWidget*, plan::CalendarFileUse, const QString&, const QString&) override
        {
            return path;
        }
        QString path;
    } chosen;
    window->showAndRaise();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto openMenu = [this] {
        QWidget* list = window->ListView1->viewport();
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20), list->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(list, &click);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QStringList items;
        for (const QAction* action : menu ? menu->actions() : QList<QAction*>())
            items << action->text() + (action->isEnabled() ? "" : " (off)");
        if (menu)
            menu->close();
        return items;
    };
    EXPECT_EQ(openMenu(), QStringList({ "&Import iCalendar File... (off)", "E&xport iCalendar File... (off)" }));
    logIn(QStringLiteral("bob"), QStringLiteral("pw"));
    EXPECT_EQ(openMenu(), QStringList({ "&Import iCalendar File...", "E&xport iCalendar File..." }));

    // A file that is no calendar changes nothing, the grid's typing not yet saved included.
    grid->setCells(1, 1, QStringLiteral("typed"));
    chosen.path = file("bad.ics");
    writeFile(chosen.path, "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n");
    window->ImportItem->trigger();
    EXPECT_EQ(boxes.boxes.back().kind, QStringLiteral("error"));
    EXPECT_EQ(lastBox(),
        QStringLiteral("The file bad.ics cannot be imported: it ends inside the VEVENT begun on line 2 (END:VEVENT is "
                       "missing)."));
    EXPECT_FALSE(QFileInfo::exists(file("bob.tpl")));

    chosen.path = file("in.ics");
    writeFile(chosen.path,
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20260131T080000\r\nSUMMARY:Imported\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n");
    window->ImportItem->trigger();
    EXPECT_EQ(lastBox(), QStringLiteral("1 entry was taken from in.ics."));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("typed"));
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("Imported"));
    EXPECT_EQ(window->TreeView1->findItems(QStringLiteral("1/31/26"), Qt::MatchRecursive).size(), 1);

    chosen.path = file("out.ics");
    window->ExportItem->trigger();
    EXPECT_EQ(lastBox(), QStringLiteral("2 entries of bob written to out.ics."));
    EXPECT_TRUE(readFile(chosen.path).contains("SUMMARY:typed\r\n"));
    window->close();
}
