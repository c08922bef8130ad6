// The planning grid: titles, date setters, log-in check, saving and loading
// a day, the open cell editor, the tree of days and the list of one day.
#include "planner/Plann32.h"
#include "platform/FilePaths.h"
#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

QByteArray key(const QDate& date, int column, int row) { return plan::makeKey(plan::packDate(date), column, row); }

class PlanningTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = std::make_unique<TPlanning>();
        grid->setPath(dir.path() + u'/');
        grid->setUser(QStringLiteral("bob"));
        grid->setTreeView(&tree);
        grid->setListView(&list);
        list.setColumnCount(4);
    }

    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    testing_support::RecordingDialogs boxes;
    testing_support::FixedClock clock { QDateTime(QDate(2026, 5, 4), QTime(9, 0)) };
    QTreeWidget tree;
    QTreeWidget list;
    std::unique_ptr<TPlanning> grid; // destroyed first: it saves its day
};

} // namespace

TEST_F(PlanningTest, StartsWithItsLayoutAndTakesOnlyFullTitleLists)
{
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->RowCount(), 13);
    EXPECT_EQ(grid->size(), QSize(374, 250));
    EXPECT_EQ(grid->columnWidth(0), 45);
    EXPECT_EQ(grid->columnWidth(4), 80);
    EXPECT_EQ(grid->rowHeight(12), 18);
    EXPECT_EQ(grid->PlanDate(), QDate(2026, 5, 4));
    EXPECT_EQ(TPlanning().Path(), platform::currentFolder() + u'/');
    EXPECT_EQ(grid->Cells(0, 0), QStringLiteral(" Hour"));
    EXPECT_EQ(grid->Cells(4, 0), QStringLiteral(" Phone"));
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("8h-9h"));
    EXPECT_EQ(grid->Cells(0, 12), QStringLiteral("19h-20h"));

    grid->setColList({ "a", "b", "c", "d" });
    EXPECT_EQ(grid->Cells(1, 0), QStringLiteral(" Meetings"));
    grid->setColList({ "a", "b", "c", "d", "e" });
    EXPECT_EQ(grid->Cells(1, 0), QStringLiteral("b"));
    grid->setRowList(QStringList(11, QStringLiteral("h")));
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("8h-9h"));
}

TEST_F(PlanningTest, DateSettersIgnoreWhatIsOutOfRangeAndRefuseWhatIsNoDate)
{
    grid->SetPlanDate(QDate(2026, 4, 30));
    for (auto set : { +[](TPlanning& g) { g.setDay(31); }, +[](TPlanning& g) { g.setDay(0); },
             +[](TPlanning& g) { g.setMonth(13); }, +[](TPlanning& g) { g.setYear(0); } })
        set(*grid);
    EXPECT_EQ(grid->PlanDate(), QDate(2026, 4, 30));
    try {
        grid->setMonth(2);
        FAIL() << "no error";
    } catch (const rtl::EConvertError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Invalid argument to date encode"));
    }
    EXPECT_EQ(grid->PlanDate(), QDate(2026, 4, 30));
    grid->setMonth(6);
    EXPECT_EQ(grid->PlanDate(), QDate(2026, 6, 30));
}

TEST_F(PlanningTest, CheckUserRegistersANameWhoseKeyIsMissingWithAnyPassword)
{
    grid->setAuthentication(true);
    grid->setPass(QString());
    EXPECT_TRUE(grid->CheckUser());
    struct stat st { };
    ::stat(QFile::encodeName(file("Zure003.usr")).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    grid->setPass(QStringLiteral("guess"));
    EXPECT_FALSE(grid->CheckUser());
    grid->setPass(QString());
    EXPECT_TRUE(grid->CheckUser());

    // A stored password equal to the reading default is still a registration.
    writeFile(file("Zure003.usr"), "[Pass]\r\ncarol=%952$+~\r\n");
    grid->setUser(QStringLiteral("carol"));
    grid->setPass(QStringLiteral("taken over"));
    EXPECT_FALSE(grid->CheckUser());
    EXPECT_EQ(readFile(file("Zure003.usr")), "[Pass]\r\ncarol=%952$+~\r\n");
    grid->setPass(QStringLiteral("%952$+~"));
    EXPECT_TRUE(grid->CheckUser());

    grid->setAuthentication(false);
    grid->setPath(dir.filePath(QStringLiteral("elsewhere/")));
    EXPECT_TRUE(grid->CheckUser());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("elsewhere/Zure003.usr"))));
}

TEST_F(PlanningTest, SaveDayKeepsTheMarkOfRetypedTextsAndRemovesEmptiedCells)
{
    const QDate day(2026, 5, 4);
    writeFile(file("bob.tpl"),
        key(day, 1, 1) + "a#b#\r\n" + key(day, 1, 2) + "Edited#\r\n" + key(day, 1, 3) + "Emptied\r\n"
            + key(day.addDays(1), 1, 1) + "Tomorrow\r\n");
    grid->LoadDay();
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("a#b"));
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("Edited"));
    grid->setCells(1, 2, QStringLiteral("Edited!"));
    grid->setCells(1, 3, QString());
    grid->setCells(4, 12, QStringLiteral("New"));
    grid->SaveDay();
    EXPECT_EQ(readFile(file("bob.tpl")),
        key(day, 1, 1) + "a#b#\r\n" + key(day, 1, 2) + "Edited!\r\n" + key(day, 4, 12) + "New\r\n"
            + key(day.addDays(1), 1, 1) + "Tomorrow\r\n");
}

TEST_F(PlanningTest, TextInTheOpenEditorIsSavedAndClearDayEmptiesTheEditorToo)
{
    grid->show();
    ASSERT_TRUE(testing_support::waitUntil([&] { return grid->isVisible(); }));
    grid->setCurrentCell(3, 2);
    grid->edit(grid->currentIndex());
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("typed, not committed"));
    grid->SaveDay();
    EXPECT_EQ(readFile(file("bob.tpl")), key(QDate(2026, 5, 4), 2, 3) + "typed, not committed\r\n");

    grid->ClearDay();
    EXPECT_EQ(editor->text(), QString());
    grid->SaveDay();
    EXPECT_EQ(readFile(file("bob.tpl")), QByteArray());
}

TEST_F(PlanningTest, WithoutAUserTheStoreChangesButNothingIsWritten)
{
    grid->setUser(QString());
    grid->setCells(1, 1, QStringLiteral("x"));
    grid->SaveDay();
    EXPECT_EQ(grid->Store().size(), 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(PlanningTest, ADayFrom2044OnRoundTripsThroughTheFile)
{
    const QDate far(2045, 6, 1);
    grid->SetPlanDate(far);
    grid->setCells(2, 3, QStringLiteral("far"));
    grid->SaveDay();
    const QByteArray saved = readFile(file("bob.tpl"));
    EXPECT_TRUE(saved.startsWith('-'));
    EXPECT_EQ(plan::EntryKey(saved.trimmed()).size(), 17);

    grid.reset();
    TPlanning again;
    again.setPath(dir.path() + u'/');
    again.setUser(QStringLiteral("bob"));
    again.SetPlanDate(far);
    again.LoadDay();
    EXPECT_EQ(again.Cells(2, 3), QStringLiteral("far"));
}

TEST_F(PlanningTest, FillTreeGroupsDaysByFullYearAndMonthInDateOrder)
{
    // As sorted in the file: 2045 (negative stamp) first, then 1999 and 2026.
    writeFile(file("bob.tpl"),
        key(QDate(2045, 1, 2), 1, 1) + "a\r\n" + key(QDate(1999, 3, 15), 1, 1) + "b\r\n" + key(QDate(1999, 3, 16), 2, 1)
            + "c\r\n" + key(QDate(1999, 4, 1), 1, 1) + "d\r\n" + "0000000000#1#01#damaged\r\n"
            + key(QDate(2026, 5, 4), 1, 1) + "e\r\n");
    grid->FillTree();
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* user = tree.topLevelItem(0);
    EXPECT_EQ(user->text(0), QStringLiteral("bob"));
    EXPECT_EQ(user->data(0, TPlanning::ImageIndexRole).toInt(), 2);
    EXPECT_TRUE(user->isExpanded());
    QStringList shape;
    for (int y = 0; y < user->childCount(); ++y) {
        QTreeWidgetItem* year = user->child(y);
        for (int m = 0; m < year->childCount(); ++m) {
            QTreeWidgetItem* month = year->child(m);
            for (int d = 0; d < month->childCount(); ++d)
                shape << year->text(0) + u'/' + month->text(0) + u'/' + month->child(d)->text(0) + u'='
                        + month->child(d)->data(0, TPlanning::DateRole).toDate().toString(Qt::ISODate);
        }
    }
    EXPECT_EQ(shape,
        QStringList({ "99/March/3/15/99=1999-03-15", "99/March/3/16/99=1999-03-16", "99/April/4/1/99=1999-04-01",
            "26/May/5/4/26=2026-05-04", "45/January/1/2/45=2045-01-02" }));
}

TEST_F(PlanningTest, FillListShowsADaysEntriesAndToggleDoneFlipsTheChosenOne)
{
    const QDate day(1999, 3, 15);
    writeFile(file("bob.tpl"),
        key(day, 1, 1) + "Meet#\r\n" + key(day, 4, 3) + "Call\r\n" + key(day.addDays(1), 1, 1) + "Other day\r\n");
    grid->FillList(day);
    ASSERT_EQ(list.topLevelItemCount(), 2);
    QTreeWidgetItem* call = list.topLevelItem(1);
    EXPECT_EQ(QStringList({ call->text(0), call->text(1), call->text(2), call->text(3) }),
        QStringList({ "Call", "3/15/99", "10h-11h", " Phone" }));
    EXPECT_EQ(call->data(0, TPlanning::ImageIndexRole).toInt(), 5);
    EXPECT_EQ(list.topLevelItem(0)->data(0, TPlanning::StateIndexRole).toInt(), 1);
    EXPECT_EQ(call->data(0, TPlanning::StateIndexRole).toInt(), 0);

    call->setSelected(true);
    grid->ToggleDone();
    EXPECT_EQ(readFile(file("bob.tpl")),
        key(day, 1, 1) + "Meet#\r\n" + key(day, 4, 3) + "Call#\r\n" + key(day.addDays(1), 1, 1) + "Other day\r\n");
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(1)->data(0, TPlanning::StateIndexRole).toInt(), 1);

    // The list still shows an entry that the file no longer holds.
    const QByteArray without = key(day.addDays(1), 1, 1) + "Other day\r\n";
    writeFile(file("bob.tpl"), without);
    list.topLevelItem(0)->setSelected(true);
    grid->ToggleDone();
    EXPECT_EQ(readFile(file("bob.tpl")), without);
    EXPECT_EQ(grid->Store().LineList(), QList<QByteArray>({ without.trimmed() }));
}

TEST_F(PlanningTest, TheGridSavesItsDayWhenDestroyed)
{
    grid->setCells(1, 1, QStringLiteral("last words"));
    grid.reset();
    EXPECT_EQ(readFile(file("bob.tpl")), key(QDate(2026, 5, 4), 1, 1) + "last words\r\n");
}
