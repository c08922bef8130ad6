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

TEST(FormatDateTime, NamesTwoDigitYearsAndLiterals)
{
    const QDateTime at(QDate(1997, 3, 15), QTime(9, 7, 3));
    EXPECT_EQ(rtl::FormatDateTime("dddd d mmmm yy", at, english()), "Saturday 15 March 97");
    EXPECT_EQ(rtl::FormatDateTime("hh:nn:ss 'at' m/d", at, english()), "09:07:03 at 3/15");
    EXPECT_EQ(rtl::FormatDateTime("h:mm am/pm", at, english()), "9:07 am");
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
