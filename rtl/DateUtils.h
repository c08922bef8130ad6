// Calendar arithmetic and date/time patterns ("dd,mmm,yyyy  h:mm: AM/PM").
#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

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

// A pattern of FormatDateTime read once, to be filled in for many dates and
// times: its separators, markers and the names it uses are looked up when it
// is read.
class DateTimePattern final {
public:
    explicit DateTimePattern(const QString& pattern, const FormatSettings& settings = FormatSettings::current());
    QString format(const QDate& date, const QTime& time = {}) const;

    // What one run of a pattern letter, or a stretch of literal text, writes.
    struct Piece {
        enum class Kind { Text, Number, DayName, MonthName, Marker, Date, Time };
        Kind kind = Kind::Text;
        int (*value)(const QDate&, const QTime&) = nullptr; // Number
        int width = 0; // Number: the fewest digits
        QLocale::FormatType format = QLocale::ShortFormat; // the names, Date, Time
        // Text: the text; DayName and MonthName: the names, Monday and January first; Marker: am, pm.
        QStringList texts;
    };

private:
    qsizetype read(const QString& pattern, qsizetype at, QChar letter, const FormatSettings& settings);
    void addText(const QString& text);

    QLocale locale_;
    std::vector<Piece> pieces_;
};

} // namespace rtl
