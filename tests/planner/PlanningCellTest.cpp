// The planning grid's cells as a screen reader reads them: kind, hour and entry.
#include "planner/PlanningCell.h"

#include "planner/Plann32.h"

#include <QTableWidgetItem>
#include <gtest/gtest.h>

TEST(PlanningCell, AnEntryCellIsReadByItsKindAndHourWithItsTextAndFollowsTheTitles)
{
    TPlanning grid;
    const auto spoken
        = [&grid](int column, int row) { return grid.item(row, column)->data(Qt::AccessibleTextRole).toString(); };
    EXPECT_EQ(spoken(1, 1), QStringLiteral("Meetings, 8h-9h: empty"));
    grid.setCells(4, 12, QStringLiteral("Call Ann"));
    EXPECT_EQ(spoken(4, 12), QStringLiteral("Phone, 19h-20h: Call Ann"));
    grid.setCells(2, 3, QStringLiteral("   "));
    EXPECT_EQ(spoken(2, 3), QStringLiteral("Tasks, 10h-11h: empty"));
    grid.setColList({ QStringLiteral("When"), QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Sport"),
        QStringLiteral("Calls") });
    EXPECT_EQ(spoken(4, 12), QStringLiteral("Calls, 19h-20h: Call Ann"));
}
