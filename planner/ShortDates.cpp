// Short dates of many days in a row.
#include "planner/ShortDates.h"

ShortDates::ShortDates(const QLocale& locale)
    : locale_(locale)
{
    const QString pattern = locale_.dateFormat(QLocale::ShortFormat);
    own_ = true;
    for (qsizetype i = 0; i < pattern.size() && own_;) {
        const QChar c = pattern.at(i);
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c)
            ++run;
        if (c == u'd' || c == u'M') {
            pieces_.push_back({ char(c.unicode()), int(run), {} });
            // Names as the locale fills them into a pattern of its own; one width of each.
            QStringList& names = c == u'd' ? dayNames_ : monthNames_;
            own_ = run <= 2 || (run <= 4 && names.isEmpty());
            if (own_ && run >= 3) {
                const QString name(run, c);
                const int count = c == u'd' ? 7 : 12;
                for (int k = 1; k <= count; ++k) // 2001-01-01 was a Monday
                    names.append(locale_.toString(c == u'd' ? QDate(2001, 1, k) : QDate(2001, k, 1), name));
            }
        } else if (c == u'y') {
            own_ = run == 2 || run == 4;
            pieces_.push_back({ 'y', int(run), {} });
        } else if (c.isLetter() || c == u'\'') {
            own_ = false;
        } else {
            if (pieces_.empty() || pieces_.back().letter != 0)
                pieces_.push_back({});
            pieces_.back().literal.append(pattern.mid(i, run));
        }
        i += run;
    }
}

QString ShortDates::filledIn(const QDate& date) const
{
    QString text;
    for (const Piece& piece : pieces_) {
        switch (piece.letter) {
        case 'd':
            text.append(piece.width >= 3 ? dayNames_.at(date.dayOfWeek() - 1)
                                         : QString::number(date.day()).rightJustified(piece.width, u'0'));
            break;
        case 'M':
            text.append(piece.width >= 3 ? monthNames_.at(date.month() - 1)
                                         : QString::number(date.month()).rightJustified(piece.width, u'0'));
            break;
        case 'y':
            text.append(piece.width == 2 ? QString::number(date.year() % 100).rightJustified(2, u'0')
                                         : QString::number(date.year()).rightJustified(4, u'0'));
            break;
        default:
            text.append(piece.literal);
        }
    }
    return text;
}

QString ShortDates::operator()(const QDate& date)
{
    if (own_ && !checked_) {
        checked_ = true;
        QString theirs = locale_.toString(date, QLocale::ShortFormat);
        own_ = filledIn(date) == theirs;
        return theirs;
    }
    return own_ ? filledIn(date) : locale_.toString(date, QLocale::ShortFormat);
}
