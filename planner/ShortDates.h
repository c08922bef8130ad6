// Short dates of many days in a row, as the locale writes them.
#pragma once

#include "rtl/DateUtils.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// The locale's short date of each day asked for. The locale would read its
// pattern anew for every day; a pattern of day, month and year numbers and
// names between other characters is read here once, as an rtl::DateTimePattern,
// and filled in for each day. The first day's text is checked against the
// locale's own, and a pattern this cannot fill (quotes, other letters) is
// left to the locale.
class ShortDates final {
public:
    explicit ShortDates(const QLocale& locale = QLocale());
    QString operator()(const QDate& date);
    // Whether the days are filled in here rather than by the locale.
    bool fillsIn() const { return pattern_.has_value(); }

private:
    QLocale locale_;
    std::optional<rtl::DateTimePattern> pattern_;
    bool checked_ = false;
};
