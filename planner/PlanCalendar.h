// The planner's entries as iCalendar events and back: the export of one
// user's entries and the import of a calendar's events into them. The
// format itself is planner/ICalendar, its time zones planner/ICalendarZones.
#pragma once

#include "planner/PlanStore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QTimeZone>
#include <vector>

namespace plan {

// The hour of the grid's first row: row r holds the hour FirstHour + r - 1.
constexpr int FirstHour = 8;

// How the grid names what an entry's column and row stand for.
struct PlannerLayout {
    QStringList kinds; // the titles of columns 1..n
    QStringList hours; // the titles of rows 1..m
};

// A calendar of the entries in `store`, one event per entry (the line of a
// key that the grid shows), from its hour to the next on its day; `count`
// is set to the number of events.
QByteArray exportCalendar(
    const PlanStore& store, const QString& user, const PlannerLayout& layout, const QDateTime& madeAt, int& count);

// What an import did: how many events became entries, how many were
// entries already, and a sentence for each one that was not taken.
struct ImportReport {
    int taken = 0;
    int alreadyThere = 0;
    QStringList notTaken;
};

// The events of a calendar, read, their times made local; not yet filed.
class CalendarImport final {
public:
    // Raises ical::FormatError for data that is no well-formed calendar.
    // Times in UTC or in a zone become wall-clock times of `localZone`.
    CalendarImport(QByteArrayView data, const QTimeZone& localZone);

    // Files into `store` the events that start on the hour of a row on a day
    // that can be packed: in the column of the kind their category names, or
    // else in the first free column of their hour. An entry already in the
    // cell stays; everything left out is reported.
    ImportReport fileInto(PlanStore& store, const PlannerLayout& layout) const;

private:
    struct Event {
        QString title;
        QStringList categories;
        bool done = false;
        bool repeats = false;
        QString problem; // why it cannot be taken whatever the planner holds
        QDate date; // local
        QTime time; // local; invalid for an all-day event
    };

    std::vector<Event> events_;
    QStringList others_; // a sentence for each component that is no event
};

// The file-level steps the planner window takes. Each raises rtl::Exception
// with a message for the user; an import that fails leaves the planner file
// as it was, and an export that fails leaves the calendar file as it was.

// Reads the calendar file at `path` ("The file X cannot be imported: why.").
CalendarImport readCalendarFile(const QString& path, const QTimeZone& localZone);
// Files the events into the planner file and saves it through its store.
ImportReport importCalendar(const CalendarImport& calendar, const QString& plannerFile, const PlannerLayout& layout);
// Writes the entries of the planner file as a calendar to `path` unless
// there are none; returns their number.
int exportCalendarFile(const QString& plannerFile, const QString& user, const PlannerLayout& layout,
    const QDateTime& madeAt, const QString& path);

// What the window tells the user afterwards.
QString importMessage(const QString& fileName, const ImportReport& report);
QString exportMessage(const QString& user, int count, const QString& fileName);

} // namespace plan
