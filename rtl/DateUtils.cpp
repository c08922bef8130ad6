// Calendar arithmetic and the date/time pattern formatter.
#include "rtl/DateUtils.h"

#include "rtl/Errors.h"

#include <algorithm>

namespace rtl {

bool IsLeap(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int MonthLength(int year, int month)
{
    static constexpr int lengths[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month < 1 || month > 12)
        return 0;
    return lengths[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
}

QDate EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > MonthLength(year, month))
        raiseInvalidDate();
    return QDate(year, month, day);
}

FormatSettings FormatSettings::current()
{
    FormatSettings settings;
    settings.locale = QLocale();
    return settings;
}

namespace {

using Piece = DateTimePattern::Piece;
using Kind = Piece::Kind;

int year(const QDate& date, const QTime&) { return date.year(); }
int shortYear(const QDate& date, const QTime&) { return date.year() % 100; }
int month(const QDate& date, const QTime&) { return date.month(); }
int day(const QDate& date, const QTime&) { return date.day(); }
int hour(const QDate&, const QTime& time) { return time.hour(); }
int hour12(const QDate&, const QTime& time) { return time.hour() % 12 == 0 ? 12 : time.hour() % 12; }
int minute(const QDate&, const QTime& time) { return time.minute(); }
int second(const QDate&, const QTime& time) { return time.second(); }
int msec(const QDate&, const QTime& time) { return time.msec(); }

Piece number(int (*value)(const QDate&, const QTime&), int width)
{
    return { .kind = Kind::Number, .value = value, .width = width, .texts = {} };
}
Piece written(Kind kind, QLocale::FormatType format) { return { .kind = kind, .format = format, .texts = {} }; }

// A pattern letter (upper case, the minutes' "m" read as "n") and what a run
// of it writes by the run's length; a longer run writes as the last.
struct LetterRule {
    QChar letter;
    std::vector<Piece> byLength;
};

const LetterRule* ruleFor(QChar letter)
{
    static const LetterRule rules[] = {
        { u'D',
            { number(day, 1), number(day, 2), written(Kind::DayName, QLocale::ShortFormat),
                written(Kind::DayName, QLocale::LongFormat), written(Kind::Date, QLocale::ShortFormat),
                written(Kind::Date, QLocale::LongFormat) } },
        { u'M',
            { number(month, 1), number(month, 2), written(Kind::MonthName, QLocale::ShortFormat),
                written(Kind::MonthName, QLocale::LongFormat) } },
        { u'Y', { number(shortYear, 2), number(shortYear, 2), number(year, 4) } },
        { u'H', { number(hour, 1), number(hour, 2) } },
        { u'N', { number(minute, 1), number(minute, 2) } },
        { u'S', { number(second, 1), number(second, 2) } },
        { u'Z', { number(msec, 1), number(msec, 3) } },
        { u'T', { written(Kind::Time, QLocale::ShortFormat), written(Kind::Time, QLocale::LongFormat) } },
    };
    for (const LetterRule& rule : rules)
        if (rule.letter == letter)
            return &rule;
    return nullptr;
}

// The am/pm markers. "am/pm" and "a/p" write their morning or afternoon
// part, in the letter case the pattern gives it; "ampm" the settings' texts.
struct MarkerRule {
    QLatin1StringView marker;
    qsizetype pmAt; // where the afternoon part starts
    qsizetype partLength; // 0: the settings' texts
};
const MarkerRule markerRules[] = {
    { QLatin1StringView("am/pm"), 3, 2 },
    { QLatin1StringView("a/p"), 2, 1 },
    { QLatin1StringView("ampm"), 0, 0 },
};

const MarkerRule* markerAt(const QString& pattern, qsizetype at)
{
    for (const MarkerRule& rule : markerRules)
        if (pattern.mid(at, rule.marker.size()).compare(rule.marker, Qt::CaseInsensitive) == 0)
            return &rule;
    return nullptr;
}

Piece markerPiece(const MarkerRule& rule, const QString& pattern, qsizetype at, const FormatSettings& settings)
{
    if (rule.partLength == 0)
        return { .kind = Kind::Marker, .texts = { settings.timeAMString, settings.timePMString } };
    return { .kind = Kind::Marker,
        .texts = { pattern.mid(at, rule.partLength), pattern.mid(at + rule.pmAt, rule.partLength) } };
}

// True when an am/pm marker stands anywhere after `from`, outside quotes.
bool hasAmPmAfter(const QString& pattern, qsizetype from)
{
    QChar quote;
    for (qsizetype i = from; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            continue;
        }
        if (markerAt(pattern, i))
            return true;
    }
    return false;
}

// The length of the run of the letter at `at`, in either case.
qsizetype runAt(const QString& pattern, qsizetype at)
{
    const QChar letter = pattern[at].toUpper();
    qsizetype end = at;
    while (end < pattern.size() && pattern[end].toUpper() == letter)
        ++end;
    return end - at;
}

// The names a piece writes, Monday or January first; none for other pieces.
QStringList namesFor(const Piece& piece, const QLocale& locale)
{
    QStringList names;
    for (int k = 1; piece.kind == Kind::DayName && k <= 7; ++k)
        names.append(locale.dayName(k, piece.format));
    for (int k = 1; piece.kind == Kind::MonthName && k <= 12; ++k)
        names.append(locale.monthName(k, piece.format));
    return names;
}

// `value` with at least `width` digits.
QString digits(int value, int width)
{
    // A negative year keeps its sign ahead of the zeros.
    return value < 0 ? QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'))
                     : QString::number(value).rightJustified(width, u'0');
}

} // namespace

DateTimePattern::DateTimePattern(const QString& pattern, const FormatSettings& settings)
    : locale_(settings.locale)
{
    QChar lastLetter;
    for (qsizetype at = 0; at < pattern.size();) {
        QChar letter = pattern[at].toUpper();
        if (letter >= u'A' && letter <= u'Z') {
            // An "m" right after an hour is the minutes.
            if (letter == u'M' && lastLetter == u'H')
                letter = u'N';
            lastLetter = letter;
        }
        at = read(pattern, at, letter, settings);
    }
}

// Reads what stands at `at`, whose letter is `letter`; returns where the next piece starts.
qsizetype DateTimePattern::read(const QString& pattern, qsizetype at, QChar letter, const FormatSettings& settings)
{
    const QChar c = pattern[at];
    if (c == u'\'' || c == u'"') {
        const qsizetype end = pattern.indexOf(c, at + 1);
        addText(pattern.mid(at + 1, end < 0 ? -1 : end - at - 1));
        return end < 0 ? pattern.size() : end + 1;
    }
    if (c == u'/' || c == u':') {
        addText(c == u'/' ? settings.dateSeparator : settings.timeSeparator);
        return at + 1;
    }
    if (const MarkerRule* marker = letter == u'A' ? markerAt(pattern, at) : nullptr) {
        pieces_.push_back(markerPiece(*marker, pattern, at, settings));
        return at + marker->marker.size();
    }
    if (letter == u'C') {
        pieces_.push_back(written(Kind::Date, QLocale::ShortFormat));
        addText(QStringLiteral(" "));
        pieces_.push_back(written(Kind::Time, QLocale::LongFormat));
        return at + 1;
    }
    const LetterRule* rule = ruleFor(letter);
    if (!rule) {
        addText(c);
        return at + 1;
    }
    const qsizetype run = runAt(pattern, at);
    Piece piece = rule->byLength[size_t(std::min<qsizetype>(run, qsizetype(rule->byLength.size())) - 1)];
    if (letter == u'H' && hasAmPmAfter(pattern, at + run))
        piece.value = hour12;
    piece.texts = namesFor(piece, locale_);
    pieces_.push_back(std::move(piece));
    return at + run;
}

void DateTimePattern::addText(const QString& text)
{
    if (pieces_.empty() || pieces_.back().kind != Kind::Text)
        pieces_.push_back({ .kind = Kind::Text, .texts = { QString() } });
    pieces_.back().texts.front() += text;
}

QString DateTimePattern::format(const QDate& date, const QTime& time) const
{
    QString text;
    for (const Piece& piece : pieces_) {
        switch (piece.kind) {
        case Kind::Text:
            text += piece.texts.front();
            break;
        case Kind::Number:
            text += digits(piece.value(date, time), piece.width);
            break;
        case Kind::DayName:
            text += piece.texts.value(date.dayOfWeek() - 1);
            break;
        case Kind::MonthName:
            text += piece.texts.value(date.month() - 1);
            break;
        case Kind::Marker:
            text += piece.texts.at(time.hour() >= 12 ? 1 : 0);
            break;
        case Kind::Date:
            text += locale_.toString(date, piece.format);
            break;
        case Kind::Time:
            text += locale_.toString(time, piece.format);
            break;
        }
    }
    return text;
}

QString FormatDateTime(const QString& pattern, const QDateTime& value, const FormatSettings& settings)
{
    return DateTimePattern(pattern, settings).format(value.date(), value.time());
}

} // namespace rtl
