// The month calendar: its layout arithmetic, the date setters and month
// steps, clicks and keys, and what is reported as a change.
#include "controls/Calendar.h"

#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Counts {
    int changes = 0;
    int clicks = 0;
};

// Counts the calendar's notifications while alive.
class Listener {
public:
    explicit Listener(TCalendar& calendar)
    {
        QObject::connect(&calendar, &TCalendar::OnChange, &context_, [this] { ++counts.changes; });
        QObject::connect(&calendar, &TCalendar::OnClick, &context_, [this] { ++counts.clicks; });
    }
    Counts counts;

private:
    QObject context_;
};

} // namespace

TEST(CalendarLayout, PlacesTheFirstInRowOneAndUsesRowSixForLongMonths)
{
    struct Case {
        QDate first;
        int startOfWeek;
        int offset;
        QPoint cellOfFirst;
    };
    const Case cases[] = {
        { QDate(2026, 2, 1), 0, 1, { 0, 1 } }, // Sunday in column 0
        { QDate(2026, 8, 1), 0, -5, { 6, 1 } }, // Saturday in column 6
        { QDate(2026, 6, 1), 1, 1, { 0, 1 } }, // Monday in column 0 of a week from Monday
        { QDate(2026, 2, 1), 1, -5, { 6, 1 } }, // Sunday last
        { QDate(2026, 5, 1), 0, -4, { 5, 1 } }, // Friday
    };
    for (const Case& c : cases) {
        const int offset = calendar::monthOffset(calendar::weekdayOf(c.first), c.startOfWeek);
        EXPECT_EQ(offset, c.offset) << c.first.toString().toStdString();
        EXPECT_EQ(calendar::cellOfDay(offset, 1), c.cellOfFirst);
        EXPECT_EQ(calendar::cellDay(offset, 31, c.cellOfFirst.x(), c.cellOfFirst.y()), 1);
    }
    // 31 days from a Friday or a Saturday reach row 6.
    EXPECT_EQ(calendar::cellOfDay(-4, 31), QPoint(0, 6));
    EXPECT_EQ(calendar::cellOfDay(-5, 31), QPoint(1, 6));
    EXPECT_EQ(calendar::cellDay(-5, 31, 2, 6), 0);
    EXPECT_EQ(calendar::cellDay(-5, 31, 5, 1), 0);
}

TEST(CalendarLayout, CellsFillTheClientAreaAndAPointFindsItsCell)
{
    EXPECT_EQ(calendar::cellWidth(189, 1), 26);
    EXPECT_EQ(calendar::cellHeight(104, 1), 14);
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c) {
            const QRect cell = calendar::cellRect(c, r, 26, 14, 1);
            EXPECT_EQ(calendar::cellAt(cell.topLeft(), 26, 14, 1), QPoint(c, r));
            EXPECT_EQ(calendar::cellAt(cell.bottomRight(), 26, 14, 1), QPoint(c, r));
        }
    EXPECT_EQ(calendar::cellAt(QPoint(7 * 27, 0), 26, 14, 1), QPoint(-1, -1));
    EXPECT_EQ(calendar::centredText(QRect(10, 20, 26, 14), 13, 9), QPoint(16, 22));
}

TEST(Calendar, StepsAMonthKeepingTheDayAsFarAsTheMonthAllows)
{
    testing_support::FixedClock clock(QDateTime(QDate(2026, 1, 31), QTime(12, 0)));
    TCalendar calendar;
    struct Case {
        QDate from;
        bool forward;
        QDate to;
    };
    const Case cases[] = {
        { QDate(2026, 1, 31), true, QDate(2026, 2, 28) },
        { QDate(2024, 1, 31), true, QDate(2024, 2, 29) },
        { QDate(2026, 3, 31), false, QDate(2026, 2, 28) },
        { QDate(2026, 12, 15), true, QDate(2027, 1, 15) },
        { QDate(2026, 1, 15), false, QDate(2025, 12, 15) },
    };
    for (const Case& c : cases) {
        calendar.SetShownDate(c.from);
        Listener listener(calendar);
        c.forward ? calendar.MonthForward() : calendar.MonthBack();
        EXPECT_EQ(calendar.ShownDate(), c.to) << c.from.toString().toStdString();
        EXPECT_EQ(listener.counts.changes, 1);
    }
}

TEST(Calendar, ElementSettersIgnoreOrRefuseWithoutReportingAndClearUseCurrentDate)
{
    testing_support::FixedClock clock(QDateTime(QDate(2026, 4, 30), QTime(12, 0)));
    TCalendar calendar;
    EXPECT_TRUE(calendar.UseCurrentDate());
    Listener listener(calendar);
    calendar.setDay(31);
    calendar.setDay(30);
    calendar.setMonth(13);
    calendar.setYear(0);
    EXPECT_THROW(calendar.setMonth(2), rtl::EConvertError);
    EXPECT_EQ(calendar.ShownDate(), QDate(2026, 4, 30));
    EXPECT_TRUE(calendar.UseCurrentDate());
    EXPECT_EQ(listener.counts.changes, 0);

    calendar.setMonth(6);
    EXPECT_EQ(calendar.ShownDate(), QDate(2026, 6, 30));
    EXPECT_FALSE(calendar.UseCurrentDate());
    EXPECT_EQ(listener.counts.changes, 1);
    EXPECT_EQ(calendar.Selection(), calendar::cellOfDay(calendar.MonthOffset(), 30));

    calendar.setUseCurrentDate(true);
    EXPECT_EQ(calendar.ShownDate(), QDate(2026, 4, 30));
    EXPECT_EQ(listener.counts.changes, 1);
}

TEST(Calendar, ClicksOnDaysChangeTheDateAndEmptyCellsOrReadOnlyDoNothing)
{
    testing_support::FixedClock clock(QDateTime(QDate(2026, 8, 12), QTime(12, 0)));
    TCalendar calendar;
    calendar.resize(193, 108);
    Listener listener(calendar);
    // August 2026 starts on a Saturday: column 6 of row 1.
    EXPECT_EQ(calendar.MonthOffset(), -5);
    EXPECT_FALSE(calendar.ClickCell(0, 1));
    EXPECT_FALSE(calendar.ClickCell(3, 0));
    EXPECT_TRUE(calendar.ClickCell(calendar.Selection().x(), calendar.Selection().y())); // the day shown
    EXPECT_EQ(listener.counts.changes, 0);

    const QRect day20 = calendar::cellRect(calendar::cellOfDay(-5, 20).x(), calendar::cellOfDay(-5, 20).y(),
        calendar.DefaultColWidth(), calendar.DefaultRowHeight(), 1);
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, day20.center() + calendar.clientArea().topLeft());
    EXPECT_EQ(calendar.ShownDate(), QDate(2026, 8, 20));
    EXPECT_EQ(listener.counts.changes, 1);
    QTest::keyClick(&calendar, Qt::Key_Down);
    EXPECT_EQ(calendar.ShownDate(), QDate(2026, 8, 27));
    QTest::keyClick(&calendar, Qt::Key_Down); // onto an empty cell: stays
    EXPECT_EQ(calendar.ShownDate(), QDate(2026, 8, 27));
    EXPECT_EQ(listener.counts.changes, 2);

    calendar.setReadOnly(true);
    EXPECT_FALSE(calendar.ClickCell(0, 2));
    calendar.setStartOfWeek(1); // a relayout selects, but reports nothing
    EXPECT_EQ(listener.counts.changes, 2);
    EXPECT_EQ(calendar.ShownDate(), QDate(2026, 8, 27));
}

TEST(Calendar, NamesTheWeekdaysFromTheStartOfWeekAndSizesItsCellsToFit)
{
    TCalendar calendar;
    EXPECT_EQ(calendar.DayCellText(0, 0), QStringLiteral("Sun"));
    calendar.setStartOfWeek(1);
    EXPECT_EQ(calendar.DayCellText(0, 0), QStringLiteral("Mon"));
    EXPECT_EQ(calendar.DayCellText(6, 0), QStringLiteral("Sun"));
    calendar.resize(193, 108);
    EXPECT_EQ(calendar.DefaultColWidth(), 26);
    EXPECT_EQ(calendar.DefaultRowHeight(), 14);
}
