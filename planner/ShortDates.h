// Short dates of many days in a row, as the locale writes them.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

// The locale's short date of each day asked for. The locale would read its
// pattern anew for every day; a pattern of day, month and year numbers and
// names between other characters is read here once and filled in for each
// day, with the names as the locale writes them. The first day's text is
// checked against the locale's own, and a pattern this cannot fill (quotes,
// other letters) is left to the locale.
class ShortDates final {
public:
    explicit ShortDates(const QLocale& locale = QLocale());
    QString operator()(const QDate& date);
    // Whether the days are filled in here rather than by the locale.
    bool fillsIn() const { return own_; }

private:
    // A number or name of the date (d, M or y, written `width` letters wide)
    // or, when `letter` is 0, the literal text.
    struct Piece {
        char letter = 0;
        int width = 0;
        QString literal;
    };
    QString filledIn(const QDate& date) const;

    QLocale locale_;
    std::vector<Piece> pieces_;
    // The names of the weekdays (Monday first) and of the months, for the widths used.
    QStringList dayNames_;
    QStringList monthNames_;
    bool own_ = false;
    bool checked_ = false;
};
