// Calendar arithmetic and date/time patterns ("dd,mmm,yyyy  h:mm: AM/PM").
#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace rtl {

bool IsLeap(int year);
int MonthLength(int year, int month);

// The date, or EConvertError "Invalid argument to date encode" when the
// three numbers name no date between the years 1 and 9999.
QDate EncodeDate(int year, int month, int day);

struct FormatSettings {
    QLocale locale; // month and day names, short and long date formats
    QChar dateSeparator = u'/';
    QChar timeSeparator = u':';
    QString timeAMString = QStringLiteral("AM");
    QString timePMString = QStringLiteral("PM");

    // The settings of the default locale.
    static FormatSettings current();
};

// Formats with the classic pattern letters: d dd ddd dddd ddddd dddddd,
// m mm mmm mmmm (minutes right after an hour), yy yyyy, h hh, n nn, s ss,
// z zzz, t tt, c, am/pm a/p ampm, "/" and ":" as separators, and quoted
// literals. A pattern holding an am/pm marker shows the hour on the 12-hour clock.
QString FormatDateTime(
    const QString& pattern, const QDateTime& value, const FormatSettings& settings = FormatSettings::current());

} // namespace rtl
