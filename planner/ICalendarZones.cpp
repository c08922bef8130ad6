// VTIMEZONE definitions and the system's zone database.
#include "planner/ICalendarZones.h"

#include <QTimeZone>
#include <algorithm>

namespace ical {

namespace {

// "+0100", "-0500", "+053000": seconds east of UTC.
std::optional<int> parseOffset(QStringView text)
{
    text = text.trimmed();
    if ((text.size() != 5 && text.size() != 7) || (text[0] != u'+' && text[0] != u'-'))
        return std::nullopt;
    int parts[3] = { 0, 0, 0 };
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
        int& part = parts[(i - 1) / 2];
        part = part * 10 + (text[i].unicode() - u'0');
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return std::nullopt;
    const int seconds = parts[0] * 3600 + parts[1] * 60 + parts[2];
    return text[0] == u'-' ? -seconds : seconds;
}

std::optional<int> parseNumber(QStringView text, int low, int high)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < low || number > high)
        return std::nullopt;
    return number;
}

QDateTime wallClock(const DateTime& value) { return QDateTime(value.date, value.time, Qt::UTC); }

// A zone of the system's database under `tzid`, an IANA or a Windows name;
// a name behind a path ("/example.org/2005_1/Europe/Berlin") is tried by its ending too.
QTimeZone systemZone(const QString& tzid)
{
    if (tzid.isEmpty() || tzid.size() > 128)
        return {};
    for (qsizetype from = 0; from >= 0 && from < tzid.size();) {
        const QByteArray id = tzid.sliced(from).toUtf8();
        if (QTimeZone::isTimeZoneIdAvailable(id))
            return QTimeZone(id);
        const QByteArray fromWindows = QTimeZone::windowsIdToDefaultIanaId(id);
        if (!fromWindows.isEmpty())
            return QTimeZone(fromWindows);
        const qsizetype slash = tzid.indexOf(u'/', from);
        from = slash < 0 ? -1 : slash + 1;
    }
    return {};
}

} // namespace

bool TimeZones::readRule(const QString& rule, Observance& observance)
{
    // A number in its range, or the rule is not read.
    const auto number = [](QStringView text, int low, int high, int& into) {
        const auto n = parseNumber(text, low, high);
        into = n.value_or(into);
        return n.has_value();
    };
    observance.yearly = true;
    bool yearly = false;
    for (const QString& part : rule.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype equals = part.indexOf(u'=');
        if (equals < 0)
            return false;
        const QString key = part.first(equals).trimmed().toUpper();
        const QString value = part.sliced(equals + 1).trimmed().toUpper();
        bool read = true;
        if (key == u"FREQ") {
            yearly = value == u"YEARLY";
        } else if (key == u"INTERVAL") {
            read = number(value, 1, 1000, observance.interval);
        } else if (key == u"BYMONTH") {
            read = number(value, 1, 12, observance.month);
        } else if (key == u"BYDAY") {
            static const QStringList days = { "MO", "TU", "WE", "TH", "FR", "SA", "SU" };
            const qsizetype day = value.size() < 2 ? -1 : days.indexOf(value.right(2));
            observance.weekday = int(day) + 1;
            read = day >= 0 && (value.size() == 2 || number(value.chopped(2), -5, 5, observance.ordinal));
        } else if (key == u"BYMONTHDAY") {
            for (const QStringView day : value.tokenize(u',')) {
                int monthDay = 0;
                read = read && number(day, 1, 31, monthDay);
                observance.monthDays.append(monthDay);
            }
            std::sort(observance.monthDays.begin(), observance.monthDays.end());
            observance.monthDays.erase(
                std::unique(observance.monthDays.begin(), observance.monthDays.end()), observance.monthDays.end());
        } else if (key == u"COUNT") {
            read = number(value, 1, 100000, observance.count);
        } else if (key == u"UNTIL") {
            const auto until = parseDateTimeText(value);
            read = until.has_value();
            if (until) {
                observance.until = QDateTime(until->date, until->isDate() ? QTime(23, 59, 59) : until->time, Qt::UTC);
                observance.untilInUtc = until->utc;
            }
        } else {
            read = key == u"WKST"; // any other part makes a rule of another shape than a zone's
        }
        if (!read)
            return false;
    }
    // Every Sunday of a month is no onset: a weekday alone needs days of the month to pick from.
    const bool dayIsClear = observance.weekday == 0 ? observance.monthDays.size() <= 1
                                                    : observance.ordinal != 0 || !observance.monthDays.isEmpty();
    return yearly && dayIsClear;
}

bool TimeZones::readObservance(const Component& part, Zone& zone)
{
    const Property* start = part.property(u"DTSTART");
    const Property* from = part.property(u"TZOFFSETFROM");
    const Property* to = part.property(u"TZOFFSETTO");
    if (!start || !from || !to)
        return false;
    const auto startValue = parseDateTimeText(start->value.trimmed());
    const auto offsetFrom = parseOffset(from->value);
    const auto offsetTo = parseOffset(to->value);
    if (!startValue || startValue->isDate() || !offsetFrom || !offsetTo)
        return false;
    Observance observance;
    observance.start = wallClock(*startValue);
    observance.offsetFrom = *offsetFrom;
    observance.offsetTo = *offsetTo;
    if (!zone.firstStart.isValid() || observance.start < zone.firstStart) {
        zone.firstStart = observance.start;
        zone.offsetBefore = observance.offsetFrom;
    }
    zone.fixed.push_back({ observance.start, observance.offsetTo });
    for (const Property& property : part.properties) {
        if (property.name == u"RRULE") {
            if (observance.yearly || !readRule(property.value, observance))
                return false;
        } else if (property.name == u"RDATE") {
            for (const QStringView text : property.value.tokenize(u',')) {
                // A period ("start/end") starts at its onset.
                const qsizetype slash = text.indexOf(u'/');
                const auto onset = parseDateTimeText((slash < 0 ? text : text.first(slash)).trimmed());
                if (!onset || zone.fixed.size() >= MaxOnsets)
                    return false;
                zone.fixed.push_back(
                    { QDateTime(onset->date, onset->isDate() ? observance.start.time() : onset->time, Qt::UTC),
                        observance.offsetTo });
            }
        }
    }
    if (observance.yearly)
        zone.yearly.push_back(observance);
    return zone.fixed.size() + zone.yearly.size() <= MaxOnsets;
}

void TimeZones::add(const Component& vtimezone)
{
    const Property* id = vtimezone.property(u"TZID");
    if (!id)
        return;
    const QString tzid = id->value.trimmed();
    Zone zone;
    for (const Component& part : vtimezone.children) {
        if ((part.name == u"STANDARD" || part.name == u"DAYLIGHT") && !readObservance(part, zone)) {
            zones_.remove(tzid);
            return;
        }
    }
    if (zone.fixed.empty()) {
        zones_.remove(tzid);
        return;
    }
    std::sort(zone.fixed.begin(), zone.fixed.end());
    zones_.insert(tzid, zone);
}

std::optional<QDateTime> TimeZones::Observance::onsetIn(int year) const
{
    const int first = start.date().year();
    if (year < first || year > 9999 || (year - first) % interval != 0)
        return std::nullopt;
    if (count > 0 && (year - first) / interval >= count)
        return std::nullopt;
    const int m = month ? month : start.date().month();
    const int length = QDate(year, m, 1).daysInMonth();
    QDate day;
    if (weekday && ordinal > 0) {
        const QDate firstDay(year, m, 1);
        day = firstDay.addDays((weekday - firstDay.dayOfWeek() + 7) % 7 + 7 * (ordinal - 1));
    } else if (weekday && ordinal < 0) {
        const QDate lastDay(year, m, length);
        day = lastDay.addDays(-((lastDay.dayOfWeek() - weekday + 7) % 7) - 7 * (-ordinal - 1));
    } else if (weekday) {
        for (int d : monthDays)
            if (d <= length && QDate(year, m, d).dayOfWeek() == weekday) {
                day = QDate(year, m, d);
                break;
            }
    } else {
        day = QDate(year, m, monthDays.isEmpty() ? start.date().day() : monthDays.first());
    }
    if (!day.isValid() || day.month() != m)
        return std::nullopt;
    const QDateTime onset(day, start.time(), Qt::UTC);
    if (onset < start)
        return std::nullopt;
    if (until && (untilInUtc ? onset.addSecs(-offsetFrom) : onset) > *until)
        return std::nullopt;
    return onset;
}

std::optional<int> TimeZones::Observance::lastYear() const
{
    if (until)
        return until->date().year();
    if (count > 0)
        return start.date().year() + (count - 1) * interval;
    return std::nullopt;
}

std::optional<QDateTime> TimeZones::toUtc(QDate date, QTime time, const QString& tzid) const
{
    const auto known = zones_.constFind(tzid);
    if (known == zones_.cend()) {
        const QTimeZone zone = systemZone(tzid);
        if (!zone.isValid())
            return std::nullopt;
        return QDateTime(date, time, zone).toUTC();
    }
    // The offset of the latest onset up to this time; before every onset,
    // the offset the earliest one starts from.
    const QDateTime local(date, time, Qt::UTC);
    std::optional<Onset> latest;
    const auto after = std::upper_bound(known->fixed.cbegin(), known->fixed.cend(), Onset { local, 0 });
    if (after != known->fixed.cbegin())
        latest = *(after - 1);
    for (const Observance& observance : known->yearly) {
        QList<int> years = { date.year() - 1, date.year() };
        if (const auto last = observance.lastYear(); last && *last < date.year())
            years << *last - 1 << *last;
        for (int year : years)
            if (const auto onset = observance.onsetIn(year);
                onset && *onset <= local && (!latest || *onset > latest->at))
                latest = Onset { *onset, observance.offsetTo };
    }
    return local.addSecs(-(latest ? latest->offsetTo : known->offsetBefore));
}

} // namespace ical
