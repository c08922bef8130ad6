// The iCalendar format (RFC 5545) on its own: a reader of content lines that
// undoes their folding and checks how components nest, TEXT values escaped
// and unescaped, DATE and DATE-TIME values, and a writer that folds its lines
// at 75 octets. Nothing here knows the planner; planner/ICalendarZones turns
// zoned times into moments, planner/PlanCalendar maps events to entries.
#pragma once

#include "rtl/Errors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <optional>

namespace ical {

// Bounds that keep a hostile file from taking the program's memory or time.
constexpr int MaxFileMegabytes = 16;
constexpr qsizetype MaxFileSize = qsizetype(MaxFileMegabytes) * 1024 * 1024;
constexpr int MaxDepth = 8;
// Properties held at once: those of one component inside a calendar, its own components included.
constexpr int MaxHeldProperties = 100000;

struct Parameter {
    QString name; // upper case
    QStringList values; // without their quotes
};

struct Property {
    QString name; // upper case
    QList<Parameter> parameters;
    QString value; // as written: a TEXT value is still escaped
    int line = 0; // where it begins in the file

    // The first value of the parameter `wanted` (upper case), or an empty text.
    QString parameter(QStringView wanted) const;
};

struct Component {
    QString name; // upper case
    int line = 0; // of its BEGIN
    QList<Property> properties;
    QList<Component> children;

    // The first property named `wanted` (upper case), or nullptr.
    const Property* property(QStringView wanted) const;
    bool has(QStringView wanted) const { return property(wanted) != nullptr; }
};

// What makes a file no well-formed calendar, as a reason a sentence can end with.
class FormatError final : public rtl::Exception {
public:
    using Exception::Exception;
};

// Reads an iCalendar stream, one or more VCALENDAR objects. Each component
// standing directly in a calendar (VEVENT, VTODO, VTIMEZONE, ...) goes to
// `take` whole once its END has been read, so that only one is held at a
// time. Lines may end in CR LF, LF or CR; a line that is not UTF-8 once
// unfolded is read as Latin-1. Raises FormatError for a file that is larger than
// MaxFileSize, holds a zero byte, is no calendar, or breaks the nesting of
// BEGIN and END.
void readCalendar(QByteArrayView data, const std::function<void(Component&&)>& take);

// A TEXT value and back: backslash, semicolon, comma and line breaks escaped.
QString unescapeText(QStringView value);
QString escapeText(QStringView text);
// The texts of a TEXT list (CATEGORIES), split at the commas that are not escaped.
QStringList splitTextList(QStringView value);

// A DATE or DATE-TIME value.
struct DateTime {
    QDate date;
    QTime time; // invalid for a DATE
    bool utc = false; // written with "Z"
    QString zone; // the TZID of a time that is neither floating nor in UTC

    bool isDate() const { return !time.isValid(); }
};

// The value of a property such as DTSTART, with its VALUE and TZID
// parameters; nothing when it is no date or date-time.
std::optional<DateTime> parseDateTime(const Property& property);
// One DATE or DATE-TIME text ("20260302", "20260302T090000", "20260302T090000Z").
std::optional<DateTime> parseDateTimeText(QStringView text);

// Writes a calendar: every line is folded to at most 75 octets, never inside
// a UTF-8 character, and ends in CR LF.
class Writer final {
public:
    void begin(QStringView component);
    void end(QStringView component);
    // `value` is written as it is given: a text is escaped first.
    void property(QStringView name, QStringView value);
    const QByteArray& data() const { return data_; }

private:
    void line(const QByteArray& utf8);

    QByteArray data_;
};

} // namespace ical
