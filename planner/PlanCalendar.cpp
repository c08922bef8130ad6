// Export and import of the planner's entries as iCalendar events.
#include "planner/PlanCalendar.h"

#include "planner/ICalendar.h"
#include "planner/ICalendarZones.h"
#include "platform/FileIO.h"
#include "rtl/DateUtils.h"

#include <QFileInfo>
#include <QHash>
#include <QUuid>

namespace plan {

namespace {

// The namespace of the entries' UIDs, which are name-based UUIDs.
const QUuid EntryNamespace(QStringLiteral("{6f1b3a52-8d47-4e0c-9a3e-2c5d7b81f094}"));

// Stable for an entry, whatever its text: exporting again and importing
// elsewhere then updates the event instead of adding a second one. Made of
// what identifies the entry, without showing the user's name.
QString entryUid(const QString& user, const QDate& date, int hour, int column)
{
    const QByteArray name = user.toUtf8() + '\n' + date.toString(Qt::ISODate).toLatin1() + '\n'
        + QByteArray::number(hour) + '\n' + QByteArray::number(column);
    return QUuid::createUuidV5(EntryNamespace, name).toString(QUuid::WithoutBraces);
}

// Entries are times of the user's own day, kept without a zone, so they are
// written as floating local times (no "Z", no TZID): 10h stays 10h in any
// program and any zone that opens the file, as it does in the planner. A
// time in UTC or in a named zone would claim a zone the planner never knew.
QString floatingTime(const QDate& date, int hour)
{
    return date.toString(QStringLiteral("yyyyMMdd'T'")) + QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0'))
        + QStringLiteral("0000");
}

QString describe(const QString& title, const QDate& date, const QTime& time)
{
    QString text = u'"' + title + u'"';
    if (date.isValid())
        text += QStringLiteral(" on ")
            + rtl::FormatDateTime(QStringLiteral("dddd d mmmm yyyy"), QDateTime(date, QTime(0, 0), Qt::UTC));
    if (time.isValid())
        text += QStringLiteral(" at ") + time.toString(QStringLiteral("H:mm"));
    return text;
}

QString plural(qsizetype n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

// The text an event's title is filed as: on one line without control
// characters, never empty, and not ending in "#", which the planner file
// would read as the done mark.
QString entryText(QString title)
{
    for (QChar& c : title)
        if (c.category() == QChar::Other_Control && c != u'\t')
            c = u' ';
    if (title.trimmed().isEmpty())
        title = QStringLiteral("(no title)");
    if (title.endsWith(u'#'))
        title += u' ';
    return title;
}

} // namespace

QByteArray exportCalendar(
    const PlanStore& store, const QString& user, const PlannerLayout& layout, const QDateTime& madeAt, int& count)
{
    count = 0;
    ical::Writer out;
    out.begin(u"VCALENDAR");
    out.property(u"VERSION", u"2.0");
    out.property(u"PRODID", u"-//Kavro Start//Planner//EN");
    out.property(u"CALSCALE", u"GREGORIAN");
    const QString stamp = madeAt.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QList<QByteArray>& lines = store.LineList();
    const QList<QByteArray>& keys = store.KeyList();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // Of lines sharing a key, the grid shows the first.
        if (i > 0 && compareText(keys.at(i - 1), keys.at(i)) == 0)
            continue;
        const auto fields = parseEntry(lines.at(i), int(layout.kinds.size()), int(layout.hours.size()));
        const QString text = QString::fromLocal8Bit(EntryText(lines.at(i)));
        if (!fields || text.isEmpty())
            continue;
        const int hour = FirstHour + fields->row - 1;
        out.begin(u"VEVENT");
        out.property(u"UID", entryUid(user, fields->date, hour, fields->column));
        out.property(u"DTSTAMP", stamp);
        out.property(u"DTSTART", floatingTime(fields->date, hour));
        out.property(u"DTEND", floatingTime(fields->date, hour + 1));
        out.property(u"SUMMARY", ical::escapeText(text));
        if (const QString kind = layout.kinds.at(fields->column - 1).trimmed(); !kind.isEmpty())
            out.property(u"CATEGORIES", ical::escapeText(kind));
        // The planner's done mark; RFC 5545 lists COMPLETED among the
        // statuses of to-dos, and its STATUS grammar takes it on any component.
        if (isDone(lines.at(i)))
            out.property(u"STATUS", u"COMPLETED");
        out.end(u"VEVENT");
        ++count;
    }
    out.end(u"VCALENDAR");
    return out.data();
}

CalendarImport::CalendarImport(QByteArrayView data, const QTimeZone& localZone)
{
    ical::TimeZones zones;
    // The start as written: the zones it may name can still follow in the file.
    std::vector<std::optional<ical::DateTime>> starts;
    ical::readCalendar(data, [&](ical::Component&& component) {
        const ical::Property* summary = component.property(u"SUMMARY");
        const QString title = summary ? ical::unescapeText(summary->value) : QString();
        if (component.name == u"VTIMEZONE") {
            zones.add(component);
            return;
        }
        if (component.name != u"VEVENT") {
            QString what = component.name == u"VTODO" ? QStringLiteral("A to-do")
                : component.name == u"VJOURNAL"       ? QStringLiteral("A journal entry")
                : component.name == u"VFREEBUSY"      ? QStringLiteral("Free/busy time")
                                                      : QStringLiteral("A %1").arg(component.name);
            if (!title.isEmpty())
                what += QStringLiteral(" (\"%1\")").arg(title);
            others_.append(what + QStringLiteral(" is no event."));
            return;
        }
        Event event;
        event.title = entryText(title);
        const QString status
            = component.has(u"STATUS") ? component.property(u"STATUS")->value.trimmed().toUpper() : QString();
        event.done = status == u"COMPLETED";
        event.repeats = component.has(u"RRULE") || component.has(u"RDATE");
        for (const ical::Property& property : std::as_const(component.properties))
            if (property.name == u"CATEGORIES")
                event.categories += ical::splitTextList(property.value);
        const ical::Property* start = component.property(u"DTSTART");
        if (!start)
            event.problem = QStringLiteral("it has no start");
        else if (component.has(u"RECURRENCE-ID"))
            event.problem = QStringLiteral("it changes one time of a repeating event");
        else if (status == u"CANCELLED")
            event.problem = QStringLiteral("it is cancelled");
        starts.push_back(start ? ical::parseDateTime(*start) : std::nullopt);
        if (start && !starts.back() && event.problem.isEmpty())
            event.problem = QStringLiteral("its start cannot be read");
        events_.push_back(std::move(event));
    });

    for (size_t i = 0; i < events_.size(); ++i) {
        Event& event = events_[i];
        if (!starts[i])
            continue;
        const ical::DateTime& start = *starts[i];
        event.date = start.date;
        event.time = start.time;
        if (start.isDate()) {
            if (event.problem.isEmpty())
                event.problem = QStringLiteral("it lasts all day");
            continue;
        }
        std::optional<QDateTime> moment;
        if (start.utc) {
            moment = QDateTime(start.date, start.time, Qt::UTC);
        } else if (!start.zone.isEmpty()) {
            moment = zones.toUtc(start.date, start.time, start.zone);
            if (!moment && event.problem.isEmpty())
                event.problem
                    = QStringLiteral("neither the file nor this computer knows its time zone \"%1\"").arg(start.zone);
        }
        if (moment) {
            const QDateTime local = moment->toTimeZone(localZone);
            event.date = local.date();
            event.time = local.time();
        }
    }
}

ImportReport CalendarImport::fileInto(PlanStore& store, const PlannerLayout& layout) const
{
    const int columns = int(layout.kinds.size());
    const int rows = int(layout.hours.size());
    ImportReport report;
    // The entries filed, by day stamp and key, merged into the store a day at a time.
    struct Filed {
        QString text;
        bool done = false;
    };
    QHash<qint32, QHash<QByteArray, Filed>> filed;
    const auto textAt = [&](qint32 stamp, int column, int row) {
        const QByteArray key = makeKey(stamp, column, row);
        if (const auto day = filed.constFind(stamp); day != filed.cend() && day->contains(key))
            return day->value(key).text;
        const qsizetype i = store.find(key);
        return i < 0 ? QString() : QString::fromLocal8Bit(EntryText(store.LineList().at(i)));
    };
    const QString lastHour = QString::number(FirstHour + rows - 1);

    for (const Event& event : events_) {
        QString problem = event.problem;
        bool taken = false;
        if (problem.isEmpty() && !canPack(event.date)) {
            problem = QStringLiteral("it is outside the years %1 to %2").arg(FirstYear).arg(LastYear);
        } else if (problem.isEmpty()
            && (event.time.minute() != 0 || event.time.second() != 0 || event.time.hour() < FirstHour
                || event.time.hour() >= FirstHour + rows)) {
            problem = QStringLiteral("it does not start on the hour between %1h and %2h").arg(FirstHour).arg(lastHour);
        } else if (problem.isEmpty()) {
            const qint32 stamp = packDate(event.date);
            const int row = event.time.hour() - FirstHour + 1;
            int kind = 0;
            for (const QString& category : event.categories)
                for (int c = 1; c <= columns && !kind; ++c)
                    if (category.trimmed().compare(layout.kinds.at(c - 1).trimmed(), Qt::CaseInsensitive) == 0)
                        kind = c;
            // The kind's cell, or the first free one of the hour, unless the
            // entry is there already (without a kind: in any column).
            int column = 0;
            bool there = false;
            for (int c = kind ? kind : 1; c <= (kind ? kind : columns) && !there; ++c) {
                const QString held = textAt(stamp, c, row);
                there = held == event.title;
                if (held.isEmpty() && !column)
                    column = c;
            }
            const QString cell = layout.hours.at(row - 1).trimmed();
            if (there) {
                ++report.alreadyThere;
                taken = true;
            } else if (column) {
                filed[stamp].insert(makeKey(stamp, column, row), Filed { event.title, event.done });
                ++report.taken;
                taken = true;
            } else if (kind) {
                problem = QStringLiteral("its cell, %1 %2, already holds \"%3\"")
                              .arg(layout.kinds.at(kind - 1).trimmed(), cell, textAt(stamp, kind, row));
            } else {
                problem = QStringLiteral("every column of %1 is taken").arg(cell);
            }
        }
        if (taken && event.repeats)
            problem = QStringLiteral("it repeats, and only its first time is in the planner");
        else if (!taken && event.repeats)
            problem += QStringLiteral("; it repeats, and no time of it was taken");
        if (!problem.isEmpty())
            report.notTaken.append(
                describe(event.title, event.date, event.time) + QStringLiteral(": ") + problem + u'.');
    }
    report.notTaken += others_;

    // In the store's order: each day's lines go in before every line still
    // to come, so that no line moves more than once for the new ones.
    std::vector<qint32> days(filed.keyBegin(), filed.keyEnd());
    std::sort(days.begin(), days.end(), [](qint32 a, qint32 b) { return compareText(stampText(a), stampText(b)) < 0; });
    for (const qint32 stamp : days) {
        const auto day = filed.constFind(stamp);
        store.mergeDay(stamp, columns, rows, [&](int column, int row) {
            const auto entry = day->constFind(makeKey(stamp, column, row));
            if (entry == day->cend())
                return textAt(stamp, column, row);
            // The done mark ends the line, as typing a "#" at the end does.
            return entry->text + (entry->done ? QStringLiteral("#") : QString());
        });
    }
    return report;
}

CalendarImport readCalendarFile(const QString& path, const QTimeZone& localZone)
{
    const auto cannot = [&path](const QString& why) {
        return rtl::Exception(
            QStringLiteral("The file %1 cannot be imported: %2.").arg(QFileInfo(path).fileName(), why));
    };
    const auto identity = platform::regularFileIdentity(path);
    if (!identity)
        throw cannot(
            QFileInfo::exists(path) ? QStringLiteral("it is no ordinary file") : QStringLiteral("it does not exist"));
    if (identity->size > ical::MaxFileSize)
        throw cannot(QStringLiteral("it is larger than %1 MB").arg(ical::MaxFileMegabytes));
    try {
        return CalendarImport(platform::readWholeFile(path), localZone);
    } catch (const rtl::Exception& error) {
        throw cannot(error.message());
    }
}

ImportReport importCalendar(const CalendarImport& calendar, const QString& plannerFile, const PlannerLayout& layout)
{
    PlanStore store;
    store.load(plannerFile);
    ImportReport report = calendar.fileInto(store, layout);
    if (report.taken > 0)
        store.save(plannerFile);
    return report;
}

int exportCalendarFile(const QString& plannerFile, const QString& user, const PlannerLayout& layout,
    const QDateTime& madeAt, const QString& path)
{
    // The planner's own files hold what an export is made of.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"tpl" || suffix == u"usr")
        throw rtl::Exception(
            QStringLiteral("An export is never written over a planner file: choose a name that ends in \".ics\"."));
    PlanStore store;
    store.load(plannerFile);
    int count = 0;
    const QByteArray data = exportCalendar(store, user, layout, madeAt, count);
    if (count > 0)
        platform::replaceFileAtomically(path, data, 0600);
    return count;
}

QString importMessage(const QString& fileName, const ImportReport& report)
{
    QString text = report.taken == 0
        ? QStringLiteral("No entry was taken from %1.").arg(fileName)
        : QStringLiteral("%1 taken from %2.").arg(plural(report.taken, "entry was", "entries were"), fileName);
    if (report.alreadyThere > 0)
        text += QStringLiteral(" %1 in the planner already.").arg(plural(report.alreadyThere, "was", "were"));
    if (report.notTaken.isEmpty())
        return text;
    // A box of hundreds of lines would not fit the screen: the first ones, and how many more.
    constexpr qsizetype shown = 25;
    text += QStringLiteral("\n\nNot taken (%1):").arg(report.notTaken.size());
    for (qsizetype i = 0; i < report.notTaken.size() && i < shown; ++i)
        text += u'\n' + report.notTaken.at(i);
    if (report.notTaken.size() > shown)
        text += QStringLiteral("\n… and %1 more.").arg(report.notTaken.size() - shown);
    return text;
}

QString exportMessage(const QString& user, int count, const QString& fileName)
{
    if (count == 0)
        return QStringLiteral("%1 has no entries: nothing was written.").arg(user);
    return QStringLiteral("%1 of %2 written to %3.").arg(plural(count, "entry", "entries"), user, fileName);
}

} // namespace plan
