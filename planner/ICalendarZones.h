// The time zones an iCalendar file defines in its VTIMEZONE components, and
// the moment that a wall-clock time in one of them stands for.
#pragma once

#include "planner/ICalendar.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace ical {

class TimeZones final {
public:
    // Takes the definition of one zone; a later one of the same TZID replaces it.
    void add(const Component& vtimezone);

    // The moment (in UTC) of the wall-clock time `date` `time` in the zone
    // `tzid`: by the file's own definition of the zone when it has one that
    // can be read, otherwise by the system's zone database under that name (a
    // Windows zone name included); nothing when neither knows the zone.
    std::optional<QDateTime> toUtc(QDate date, QTime time, const QString& tzid) const;

private:
    // One STANDARD or DAYLIGHT part: from each of its onsets on, local time is UTC + `offsetTo`.
    struct Observance {
        QDateTime start; // wall-clock time, kept as UTC so that no zone shifts it
        int offsetFrom = 0; // seconds east of UTC
        int offsetTo = 0;
        // A yearly rule, the only kind zones are defined by.
        bool yearly = false;
        int interval = 1;
        int month = 0; // 0: the month of `start`
        int weekday = 0; // 1 Monday .. 7 Sunday, 0: none
        int ordinal = 0; // the n-th (from the end when negative) weekday of the month, 0: any
        QList<int> monthDays;
        int count = 0; // 0: no count
        std::optional<QDateTime> until;
        bool untilInUtc = false;

        std::optional<QDateTime> onsetIn(int year) const;
        // The last year the rule reaches, when it ends.
        std::optional<int> lastYear() const;
    };
    struct Onset {
        QDateTime at; // wall-clock time, as above
        int offsetTo = 0;
        bool operator<(const Onset& other) const { return at < other.at; }
    };
    struct Zone {
        std::vector<Onset> fixed; // every DTSTART and RDATE, in order
        std::vector<Observance> yearly; // those with a rule
        QDateTime firstStart;
        int offsetBefore = 0; // before the first onset
    };

    static bool readObservance(const Component& part, Zone& zone);
    static bool readRule(const QString& rule, Observance& observance);

    // A zone that could not be read, or holds more onsets than MaxOnsets, is
    // left out: the system's database answers for it.
    static constexpr int MaxOnsets = 1000;
    QHash<QString, Zone> zones_;
};

} // namespace ical
