// Short dates of many days in a row.
#include "planner/ShortDates.h"

namespace {

// The locale's date pattern in the classic letters of rtl::DateTimePattern,
// the characters between its fields quoted; nothing when it holds quotes,
// other letters or runs those letters do not write alike.
std::optional<QString> inClassicLetters(const QString& pattern)
{
    QString classic;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c)
            ++run;
        if (((c == u'd' || c == u'M') && run <= 4) || (c == u'y' && (run == 2 || run == 4)))
            classic += QString(run, c.toLower());
        else if (c.isLetter() || c == u'\'')
            return std::nullopt;
        else
            classic += u'\'' + pattern.mid(i, run) + u'\'';
        i += run;
    }
    return classic;
}

} // namespace

ShortDates::ShortDates(const QLocale& locale)
    : locale_(locale)
{
    if (const std::optional<QString> pattern = inClassicLetters(locale_.dateFormat(QLocale::ShortFormat))) {
        rtl::FormatSettings settings;
        settings.locale = locale_;
        pattern_.emplace(*pattern, settings);
    }
}

QString ShortDates::operator()(const QDate& date)
{
    if (pattern_ && !checked_) {
        checked_ = true;
        QString theirs = locale_.toString(date, QLocale::ShortFormat);
        if (pattern_->format(date) != theirs)
            pattern_.reset();
        return theirs;
    }
    return pattern_ ? pattern_->format(date) : locale_.toString(date, QLocale::ShortFormat);
}
