// Calendar arithmetic and the date/time pattern formatter.
#include "rtl/DateUtils.h"

#include "rtl/Errors.h"

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

QString pad2(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

bool matchesAt(const QString& text, qsizetype pos, QLatin1StringView token)
{
    return text.mid(pos, token.size()).compare(token, Qt::CaseInsensitive) == 0;
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
        if (matchesAt(pattern, i, QLatin1StringView("am/pm")) || matchesAt(pattern, i, QLatin1StringView("a/p"))
            || matchesAt(pattern, i, QLatin1StringView("ampm")))
            return true;
    }
    return false;
}

} // namespace

QString FormatDateTime(const QString& pattern, const QDateTime& value, const FormatSettings& settings)
{
    const QDate date = value.date();
    const QTime time = value.time();
    QString out;
    QChar lastToken = u' ';
    qsizetype i = 0;
    const qsizetype n = pattern.size();
    auto count = [&](QChar letter) {
        qsizetype k = 0;
        while (i + k < n && pattern[i + k].toUpper() == letter)
            ++k;
        i += k;
        return int(k);
    };
    while (i < n) {
        QChar token = pattern[i].toUpper();
        if (token >= u'A' && token <= u'Z') {
            if (token == u'M' && lastToken == u'H')
                token = u'N';
            lastToken = token;
        }
        switch (token.unicode()) {
        case u'Y': {
            const int k = count(u'Y');
            out += k <= 2 ? pad2(date.year() % 100) : QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            break;
        }
        case u'M': {
            const int k = count(u'M');
            if (k == 1)
                out += QString::number(date.month());
            else if (k == 2)
                out += pad2(date.month());
            else if (k == 3)
                out += settings.locale.monthName(date.month(), QLocale::ShortFormat);
            else
                out += settings.locale.monthName(date.month(), QLocale::LongFormat);
            break;
        }
        case u'N': {
            const int k = count(pattern[i].toUpper());
            out += k == 1 ? QString::number(time.minute()) : pad2(time.minute());
            break;
        }
        case u'D': {
            const int k = count(u'D');
            if (k == 1)
                out += QString::number(date.day());
            else if (k == 2)
                out += pad2(date.day());
            else if (k == 3)
                out += settings.locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else if (k == 4)
                out += settings.locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
            else if (k == 5)
                out += settings.locale.toString(date, QLocale::ShortFormat);
            else
                out += settings.locale.toString(date, QLocale::LongFormat);
            break;
        }
        case u'H': {
            const int k = count(u'H');
            int hour = time.hour();
            if (hasAmPmAfter(pattern, i)) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += k == 1 ? QString::number(hour) : pad2(hour);
            break;
        }
        case u'S': {
            const int k = count(u'S');
            out += k == 1 ? QString::number(time.second()) : pad2(time.second());
            break;
        }
        case u'Z': {
            const int k = count(u'Z');
            out += k == 1 ? QString::number(time.msec())
                          : QStringLiteral("%1").arg(time.msec(), 3, 10, QLatin1Char('0'));
            break;
        }
        case u'T': {
            const int k = count(u'T');
            out += settings.locale.toString(time, k == 1 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        }
        case u'C':
            ++i;
            out += settings.locale.toString(date, QLocale::ShortFormat) + u' '
                + settings.locale.toString(time, QLocale::LongFormat);
            break;
        case u'A': {
            const bool pm = time.hour() >= 12;
            if (matchesAt(pattern, i, QLatin1StringView("am/pm"))) {
                const QString marker = pattern.mid(i + (pm ? 3 : 0), 2);
                out += marker;
                i += 5;
            } else if (matchesAt(pattern, i, QLatin1StringView("a/p"))) {
                out += pattern[i + (pm ? 2 : 0)];
                i += 3;
            } else if (matchesAt(pattern, i, QLatin1StringView("ampm"))) {
                out += pm ? settings.timePMString : settings.timeAMString;
                i += 4;
            } else {
                out += pattern[i];
                ++i;
            }
            break;
        }
        case u'/':
            out += settings.dateSeparator;
            ++i;
            break;
        case u':':
            out += settings.timeSeparator;
            ++i;
            break;
        case u'\'':
        case u'"': {
            const QChar quote = pattern[i];
            ++i;
            while (i < n && pattern[i] != quote)
                out += pattern[i++];
            if (i < n)
                ++i;
            break;
        }
        default:
            out += pattern[i];
            ++i;
            break;
        }
    }
    return out;
}

} // namespace rtl
