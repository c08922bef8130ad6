// The iCalendar reader and the planner's import and export: any file either
// is refused with a reason or files entries that the store keeps aligned,
// and what is filed comes back unchanged through an export and an import.
#include "FuzzSupport.h"
#include "planner/ICalendar.h"
#include "planner/PlanCalendar.h"

#include <QUtf8StringView>

namespace {

plan::PlannerLayout gridLayout()
{
    plan::PlannerLayout layout { { " Meetings", " Tasks", " Projects", " Phone" }, {} };
    for (int i = 1; i <= 12; ++i)
        layout.hours << QStringLiteral("%1h-%2h").arg(i + 7).arg(i + 8);
    return layout;
}

// A fixed offset, so that a run does not depend on the machine's zone.
const QTimeZone localZone(3600);

// What a text comes back as through escaping: line breaks as LF, other control characters as blanks.
QString escapedForm(const QString& text)
{
    QString expected;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (c == u'\r' || c == u'\n')
            expected += u'\n';
        else if (c.category() == QChar::Other_Control && c != u'\t')
            expected += u' ';
        else
            expected += c;
    }
    return expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const QString text = QString::fromUtf8(input.left(4096));
    fuzz::check(ical::unescapeText(ical::escapeText(text)) == escapedForm(text), "escaping undone");
    ical::Writer writer;
    writer.property(u"SUMMARY", ical::escapeText(text));
    for (const QByteArray& line : writer.data().chopped(2).split('\n')) {
        fuzz::check(line.size() <= 76, "folded at 75 octets");
        fuzz::check(QUtf8StringView(line).isValidUtf8(), "never folded inside a character");
    }

    std::optional<plan::CalendarImport> calendar;
    try {
        calendar.emplace(input, localZone);
    } catch (const ical::FormatError& error) {
        fuzz::check(!error.message().isEmpty(), "a refusal gives its reason");
        return 0;
    }
    const plan::PlannerLayout layout = gridLayout();
    plan::PlanStore filed;
    const plan::ImportReport report = calendar->fileInto(filed, layout);
    fuzz::check(filed.size() == report.taken, "one entry for each event taken");
    for (qsizetype i = 0; i < filed.size(); ++i) {
        fuzz::check(plan::parseEntry(filed.LineList().at(i), 4, 12).has_value(), "every entry unpacks");
        fuzz::check(filed.KeyList().at(i) == plan::EntryKey(filed.LineList().at(i)), "each key beside its line");
        fuzz::check(i == 0 || plan::compareText(filed.KeyList().at(i - 1), filed.KeyList().at(i)) < 0,
            "keys sorted, each once");
    }

    int count = 0;
    const QByteArray exported = plan::exportCalendar(
        filed, QStringLiteral("fuzz"), layout, QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC), count);
    fuzz::check(count == filed.size(), "every entry exported");
    plan::PlanStore again;
    const plan::ImportReport second = plan::CalendarImport(exported, localZone).fileInto(again, layout);
    fuzz::check(second.notTaken.isEmpty(), "an export imports whole");
    fuzz::check(again.LineList() == filed.LineList(), "entries come back unchanged");
    return 0;
}
