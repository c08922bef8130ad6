// The planner's entries to an iCalendar file and back: the round trip, the
// same against an independent reader and writer, a foreign file, and files
// that are no calendar.
#include "planner/PlanCalendar.h"

#include "planner/ICalendar.h"
#include "planner/ICalendarZones.h"
#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QUtf8StringView>
#include <gtest/gtest.h>

using namespace plan;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

PlannerLayout gridLayout()
{
    PlannerLayout layout { { " Meetings", " Tasks", " Projects", " Phone" }, {} };
    for (int i = 1; i <= 12; ++i)
        layout.hours << QStringLiteral("%1h-%2h").arg(i + 7).arg(i + 8);
    return layout;
}

QByteArray key(const QDate& date, int column, int row) { return makeKey(packDate(date), column, row); }

// A planner file as the store writes it.
void writePlanner(const QString& path, const QList<QByteArray>& lines)
{
    PlanStore store;
    store.assign(lines);
    store.save(path);
}

const QDateTime madeAt(QDate(2026, 2, 1), QTime(12, 0), Qt::UTC);
const QTimeZone berlin("Europe/Berlin");

// Entries whose texts need escaping, folding and the done mark, on days on both sides of 2044.
const QList<QByteArray> sampleEntries = {
    key(QDate(2026, 1, 31), 1, 3) + "Dentist, then lunch; bring \\ and \"forms\"",
    key(QDate(2026, 1, 31), 2, 1) + "Send the report#",
    key(QDate(2026, 2, 1), 4, 12) + QString(40, QChar(0x00E9)).toUtf8() + " \xE2\x82\xAC 40 \xF0\x9F\x93\x9E",
    key(QDate(2044, 6, 1), 3, 5) + "Far ahead",
};

class PlanCalendarTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(PlanCalendarTest, AnExportFoldsEscapesAndImportsBackIntoTheSameEntries)
{
    writePlanner(file("bob.tpl"), sampleEntries);
    ASSERT_EQ(exportCalendarFile(file("bob.tpl"), "bob", gridLayout(), madeAt, file("bob.ics")), 4);
    const QByteArray calendar = readFile(file("bob.ics"));

    ASSERT_TRUE(calendar.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:"));
    ASSERT_TRUE(calendar.endsWith("END:VCALENDAR\r\n"));
    QStringList uids;
    for (const QByteArray& line : calendar.chopped(1).split('\n')) {
        EXPECT_TRUE(line.endsWith('\r'));
        EXPECT_LE(line.size() - 1, 75) << line.constData();
        EXPECT_TRUE(QUtf8StringView(line).isValidUtf8()) << "folded inside a character: " << line.constData();
        if (line.startsWith("UID:"))
            uids << line.mid(4).chopped(1);
    }
    EXPECT_TRUE(calendar.contains("SUMMARY:Dentist\\, then lunch\\; bring \\\\ and \"forms\"\r\n"));
    EXPECT_TRUE(calendar.contains("DTSTART:20260131T100000\r\nDTEND:20260131T110000\r\n"));
    EXPECT_TRUE(calendar.contains("DTSTART:20260201T190000\r\nDTEND:20260201T200000\r\n"));
    EXPECT_TRUE(calendar.contains("DTSTAMP:20260201T120000Z\r\n"));
    EXPECT_TRUE(calendar.contains("SUMMARY:Send the report\r\nCATEGORIES:Tasks\r\nSTATUS:COMPLETED\r\n"));
    EXPECT_EQ(calendar.count("STATUS:"), 1);
    EXPECT_EQ(QSet<QString>(uids.cbegin(), uids.cend()).size(), 4);

    // The same entries give the same UIDs again; another user's give others.
    exportCalendarFile(file("bob.tpl"), "bob", gridLayout(), madeAt.addDays(1), file("again.ics"));
    EXPECT_EQ(readFile(file("again.ics")).count(uids.first().toUtf8()), 1);
    exportCalendarFile(file("bob.tpl"), "carol", gridLayout(), madeAt, file("carol.ics"));
    EXPECT_FALSE(readFile(file("carol.ics")).contains(uids.first().toUtf8()));

    const CalendarImport imported = readCalendarFile(file("bob.ics"), berlin);
    ImportReport report = importCalendar(imported, file("copy.tpl"), gridLayout());
    EXPECT_EQ(report.taken, 4);
    EXPECT_TRUE(report.notTaken.isEmpty()) << report.notTaken.join(u'\n').toStdString();
    EXPECT_EQ(readFile(file("copy.tpl")), readFile(file("bob.tpl")));

    // Imported again, every entry is there already and the file stays as it was.
    report = importCalendar(imported, file("bob.tpl"), gridLayout());
    EXPECT_EQ(report.taken, 0);
    EXPECT_EQ(report.alreadyThere, 4);
    EXPECT_EQ(readFile(file("copy.tpl")), readFile(file("bob.tpl")));
}

// Python's icalendar reads the export and writes a calendar of its own, which imports into the same entries.
TEST_F(PlanCalendarTest, AnIndependentReaderAndWriterAgreeWithTheExportAndTheImport)
{
    const char* script = R"(import json, sys
try:
    import icalendar
except ImportError:
    sys.exit(77)
read = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
out = icalendar.Calendar()
out.add('prodid', '-//Independent check//EN')
out.add('version', '2.0')
seen = []
for event in read.walk('VEVENT'):
    copy = icalendar.Event()
    for name in ('uid', 'dtstamp', 'dtstart', 'dtend'):
        copy.add(name, event.decoded(name))
    copy.add('summary', str(event['summary']))
    copy.add('categories', [str(c) for c in event['categories'].cats])
    if 'status' in event:
        copy.add('status', str(event['status']))
    out.add_component(copy)
    seen.append([str(event['summary']), event.decoded('dtstart').isoformat(), event.decoded('dtend').isoformat(),
                 str(event['categories'].cats[0]), str(event.get('status', ''))])
open(sys.argv[2], 'wb').write(out.to_ical())
print(json.dumps(seen))
)";
    writeFile(file("check.py"), script);
    writePlanner(file("bob.tpl"), sampleEntries);
    exportCalendarFile(file("bob.tpl"), "bob", gridLayout(), madeAt, file("bob.ics"));
    QProcess python;
    python.start("/usr/bin/python3", { file("check.py"), file("bob.ics"), file("python.ics") });
    ASSERT_TRUE(python.waitForFinished(60000));
    if (python.exitStatus() == QProcess::NormalExit && python.exitCode() == 77)
        GTEST_SKIP() << "python3-icalendar is missing: install it to check against an independent reader";
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().constData();

    const QJsonArray seen = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    ASSERT_EQ(seen.size(), 4);
    const QJsonArray dentist = seen.at(1).toArray(); // in the store's order, 2044 first
    EXPECT_EQ(dentist.at(0).toString(), QStringLiteral("Dentist, then lunch; bring \\ and \"forms\""));
    EXPECT_EQ(dentist.at(1).toString(), QStringLiteral("2026-01-31T10:00:00"));
    EXPECT_EQ(dentist.at(2).toString(), QStringLiteral("2026-01-31T11:00:00"));
    EXPECT_EQ(dentist.at(3).toString(), QStringLiteral("Meetings"));
    EXPECT_EQ(seen.at(2).toArray().at(4).toString(), QStringLiteral("COMPLETED"));
    EXPECT_EQ(seen.at(3).toArray().at(0).toString().toUtf8(), EntryText(sampleEntries.at(2)));

    ImportReport report = importCalendar(readCalendarFile(file("python.ics"), berlin), file("copy.tpl"), gridLayout());
    EXPECT_EQ(report.taken, 4);
    EXPECT_EQ(readFile(file("copy.tpl")), readFile(file("bob.tpl")));
}

// A calendar such as common calendar programs write: a zone of its own, a
// zone by its common name, UTC, an all-day event, a repeating one, a folded
// line, a to-do, and an occupied cell.
TEST_F(PlanCalendarTest, AForeignFileFillsTheCellsThatFitAndListsEverythingElse)
{
    const QByteArray foreign
        = "BEGIN:VCALENDAR\r\n"
          "PRODID:-//Example Corp.//Calendar 9.1//EN\r\n"
          "VERSION:2.0\r\n"
          "BEGIN:VEVENT\r\n"
          "DTSTART;TZID=\"Office East\":20260310T050000\r\n"
          "DTEND;TZID=\"Office East\":20260310T060000\r\n"
          "SUMMARY:Call with New York\r\n"
          "CATEGORIES:Phone,Work\r\n"
          "UID:1@example.com\r\n"
          "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n"
          "END:VEVENT\r\n"
          "BEGIN:VTIMEZONE\r\n"
          "TZID:Office East\r\n"
          "BEGIN:STANDARD\r\nDTSTART:16011104T020000\r\nRRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11\r\n"
          "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nEND:STANDARD\r\n"
          "BEGIN:DAYLIGHT\r\nDTSTART:16010311T020000\r\nRRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3\r\n"
          "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nEND:DAYLIGHT\r\n"
          "END:VTIMEZONE\r\n"
          "BEGIN:VEVENT\r\nDTSTART:20260302T080000Z\r\nSUMMARY:Plan the w\r\n eek \xC3\r\n\t\xA9t\xC3\xA9\r\n"
          "END:VEVENT\r\n"
          "BEGIN:VEVENT\r\nDTSTART;TZID=Europe/Berlin:20260302T073000\r\nSUMMARY:Early call\r\n"
          "END:VEVENT\r\n"
          "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260303\r\nSUMMARY:Holiday\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nDTSTART:20260302T140000\r\nRRULE:FREQ=WEEKLY;COUNT=4\r\n"
          "SUMMARY:Weekly review\r\nCATEGORIES:projects\r\nSTATUS:COMPLETED\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nDTSTART:20260302T090000\r\nSUMMARY:Dentist\r\nCATEGORIES:Meetings\r\n"
          "END:VEVENT\r\n"
          "BEGIN:VTODO\r\nSUMMARY:Buy milk\r\nEND:VTODO\r\n"
          "END:VCALENDAR\r\n";
    writeFile(file("foreign.ics"), foreign);
    writePlanner(file("bob.tpl"), { key(QDate(2026, 3, 2), 1, 2) + "Standup" });

    const ImportReport report
        = importCalendar(readCalendarFile(file("foreign.ics"), berlin), file("bob.tpl"), gridLayout());
    // 05:00 in New York's summer time is 10:00 in Berlin, which keeps winter time until 29 March.
    // 08:00 UTC is 9h in Berlin, where Meetings is taken: the first free column is Tasks.
    const QList<QByteArray> expected = {
        key(QDate(2026, 3, 2), 1, 2) + "Standup",
        key(QDate(2026, 3, 2), 2, 2) + "Plan the week \xC3\xA9t\xC3\xA9",
        key(QDate(2026, 3, 2), 3, 7) + "Weekly review#",
        key(QDate(2026, 3, 10), 4, 3) + "Call with New York",
    };
    writePlanner(file("expected.tpl"), expected);
    EXPECT_EQ(readFile(file("bob.tpl")).toStdString(), readFile(file("expected.tpl")).toStdString());
    EXPECT_EQ(importMessage("foreign.ics", report).toStdString(),
        "3 entries were taken from foreign.ics.\n\n"
        "Not taken (5):\n"
        "\"Early call\" on Monday 2 March 2026 at 7:30: it does not start on the hour between 8h and 19h.\n"
        "\"Holiday\" on Tuesday 3 March 2026: it lasts all day.\n"
        "\"Weekly review\" on Monday 2 March 2026 at 14:00: it repeats, and only its first time is in the planner.\n"
        "\"Dentist\" on Monday 2 March 2026 at 9:00: its cell, Meetings 9h-10h, already holds \"Standup\".\n"
        "A to-do (\"Buy milk\") is no event.");
}

TEST_F(PlanCalendarTest, AFileThatIsNoCalendarIsRefusedWithItsReason)
{
    QByteArray nested = "BEGIN:VCALENDAR\r\n";
    for (int i = 0; i < 9; ++i)
        nested += "BEGIN:X-DEEP\r\n";
    struct Case {
        QByteArray content;
        const char* reason;
    };
    const Case cases[] = {
        { "", "it is empty" },
        { "\x89PNG\r\n\x1A\n", "it is no iCalendar file (it does not begin with BEGIN:VCALENDAR)" },
        { QByteArray("BEGIN:VCALENDAR\r\nSUMMARY:a") + '\0' + "b\r\nEND:VCALENDAR\r\n",
            "it holds binary data, not text" },
        { "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:x\r\n",
            "it ends inside the VEVENT begun on line 2 (END:VEVENT is missing)" },
        { "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VTODO\r\n",
            "line 3 ends a VTODO where the VEVENT begun on line 2 should end" },
        { "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nno colon here\r\n", "line 3 is not of the form NAME:value" },
        { "BEGIN:VCALENDAR\r\n\r\n continued\r\n", "line 3 begins with a blank but continues no line" },
        { nested, "line 9 nests components more than 8 deep" },
    };
    for (const Case& c : cases) {
        writeFile(file("bad.ics"), c.content);
        try {
            readCalendarFile(file("bad.ics"), berlin);
            ADD_FAILURE() << "read: " << c.reason;
        } catch (const rtl::Exception& error) {
            EXPECT_EQ(
                error.message().toStdString(), std::string("The file bad.ics cannot be imported: ") + c.reason + ".");
        }
    }

    // Too large to read at all, and folded a million times: refused at once, read in one pass.
    QFile huge(file("huge.ics"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(ical::MaxFileSize + 1));
    huge.close();
    EXPECT_THROW(readCalendarFile(file("huge.ics"), berlin), rtl::Exception);
    QByteArray folded = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20260302T090000\r\nSUMMARY:";
    for (int i = 0; i < 1000000; ++i)
        folded += "\r\n x";
    writeFile(file("folded.ics"), folded + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    PlanStore store;
    EXPECT_EQ(readCalendarFile(file("folded.ics"), berlin).fileInto(store, gridLayout()).taken, 1);
    EXPECT_EQ(EntryText(store.LineList().value(0)), QByteArray(1000000, 'x'));
}

// The rules of a VTIMEZONE, checked against the system's zone database day by day.
TEST(CalendarZones, AZoneTheFileDefinesAgreesWithTheSystemsDatabase)
{
    const QByteArray calendar
        = "BEGIN:VCALENDAR\r\nBEGIN:VTIMEZONE\r\nTZID:Berlin\r\n"
          "BEGIN:DAYLIGHT\r\nDTSTART:19810329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
          "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\n"
          "BEGIN:STANDARD\r\nDTSTART:19961027T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
          "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
          "BEGIN:VTIMEZONE\r\nTZID:New York\r\n"
          "BEGIN:DAYLIGHT\r\nDTSTART:20070311T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\n"
          "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nEND:DAYLIGHT\r\n"
          "BEGIN:STANDARD\r\nDTSTART:20071104T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\n"
          "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\nEND:VCALENDAR\r\n";
    ical::TimeZones zones;
    ical::readCalendar(calendar, [&zones](ical::Component&& zone) { zones.add(zone); });
    const std::pair<QString, QTimeZone> cases[]
        = { { "Berlin", QTimeZone("Europe/Berlin") }, { "New York", QTimeZone("America/New_York") } };
    for (const auto& [tzid, system] : cases) {
        ASSERT_TRUE(system.isValid());
        // Hours on both sides of the changes, none inside a gap or an overlap.
        for (QDate day(2024, 1, 1); day.year() < 2028; day = day.addDays(1))
            for (int hour : { 0, 4, 12 })
                ASSERT_EQ(zones.toUtc(day, QTime(hour, 0), tzid), QDateTime(day, QTime(hour, 0), system).toUTC())
                    << tzid.toStdString() << " " << day.toString(Qt::ISODate).toStdString() << " " << hour;
    }
}
