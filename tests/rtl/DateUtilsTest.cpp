// Dates and date/time patterns.
#include "rtl/DateUtils.h"

#include "rtl/Errors.h"

#include <gtest/gtest.h>

namespace {

rtl::FormatSettings english()
{
    rtl::FormatSettings settings;
    settings.locale = QLocale(QLocale::English, QLocale::UnitedStates);
    return settings;
}

TEST(FormatDateTime, LauncherDateLine)
{
    const auto at = [](int h, int m) { return QDateTime(QDate(2026, 12, 6), QTime(h, m, 41)); };
    const QString pattern = QStringLiteral("dd,mmm,yyyy  h:mm: AM/PM");
    EXPECT_EQ(rtl::FormatDateTime(pattern, at(23, 5), english()), "06,Dec,2026  11:05: PM");
    EXPECT_EQ(rtl::FormatDateTime(pattern, at(0, 0), english()), "06,Dec,2026  12:00: AM");
    EXPECT_EQ(rtl::FormatDateTime(pattern, at(12, 59), english()), "06,Dec,2026  12:59: PM");
}

TEST(FormatDateTime, WritesEachPatternLetterRunAndLiteral)
{
    rtl::FormatSettings settings = english();
    settings.dateSeparator = u'-';
    settings.timeSeparator = u'.';
    settings.timeAMString = QStringLiteral("vm");
    settings.timePMString = QStringLiteral("nm");
    const QLocale& locale = settings.locale;
    const QDate day(1997, 3, 15);
    const QTime morning(9, 7, 3, 45);
    const QTime evening(21, 7, 3, 45);
    const struct {
        const char* pattern;
        QTime time;
        QString expected;
    } cases[] = {
        { "d dd ddd dddd", morning, "15 15 Sat Saturday" },
        { "ddddd|dddddd|ddddddd", morning,
            locale.toString(day, QLocale::ShortFormat) + '|' + locale.toString(day, QLocale::LongFormat) + '|'
                + locale.toString(day, QLocale::LongFormat) },
        { "m mm mmm mmmm mmmmm", morning, "3 03 Mar March March" },
        { "y yy yyy yyyy", morning, "97 97 1997 1997" },
        { "DD Mm YY", morning, "15 03 97" },
        { "h hh n nn s ss z zzz", evening, "21 21 7 07 3 03 45 045" },
        // An "m" right after an hour is the minutes, even across literals; another letter ends that.
        { "hmm|hh m m|h'-'m|h x m", morning, "907|09 7 3|9-7|9 x 3" },
        // A marker after the hour puts it on the 12-hour clock and is written in its own letter case.
        { "h am/pm|AM/PM h", evening, "9 pm|PM 21" },
        { "hh A/P|h a/p", QTime(0, 30), "12 A|12 a" },
        { "h ampm", evening, "9 nm" },
        { "h ampm|Ax", QTime(12, 0), "12 nm|Ax" },
        { "t|c", morning,
            locale.toString(morning, QLocale::ShortFormat) + '|' + locale.toString(day, QLocale::ShortFormat) + ' '
                + locale.toString(morning, QLocale::LongFormat) },
        { "m/d h:n", morning, "3-15 9.7" },
        { "'d/m' \"h:n\" 'yy", morning, "d/m h:n yy" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(rtl::FormatDateTime(QString::fromLatin1(c.pattern), QDateTime(day, c.time), settings), c.expected)
            << c.pattern;
}

TEST(EncodeDate, RefusesDaysThatDoNotExist)
{
    EXPECT_EQ(rtl::EncodeDate(2024, 2, 29), QDate(2024, 2, 29));
    for (auto [y, m, d] :
        { std::tuple { 2023, 2, 29 }, { 1900, 2, 29 }, { 2026, 4, 31 }, { 2026, 13, 1 }, { 0, 1, 1 } }) {
        try {
            rtl::EncodeDate(y, m, d);
            ADD_FAILURE() << y << "-" << m << "-" << d;
        } catch (const rtl::EConvertError& error) {
            EXPECT_EQ(error.message(), "Invalid argument to date encode");
        }
    }
    EXPECT_EQ(rtl::MonthLength(2000, 2), 29);
    EXPECT_EQ(rtl::MonthLength(2100, 2), 28);
}

} // namespace
