// Short dates filled in from a pattern read once, against the locale's own.
#include "planner/ShortDates.h"

#include <gtest/gtest.h>

TEST(ShortDates, WriteEveryDayAsEachLocaleDoes)
{
    const QList<QDate> days { QDate(1980, 1, 1), QDate(1999, 12, 31), QDate(2000, 2, 29), QDate(2026, 12, 7),
        QDate(2044, 7, 4), QDate(2099, 10, 15) };
    int filledIn = 0;
    for (const QLocale& locale :
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        ShortDates dates(locale);
        for (const QDate& day : days)
            ASSERT_EQ(dates(day), locale.toString(day, QLocale::ShortFormat)) << locale.name().toStdString();
        filledIn += dates.fillsIn() ? 1 : 0;
    }
    // Most locales write their short dates with numbers and names only.
    EXPECT_GT(filledIn, 300);
}
