// iCalendar content lines, components, values and the folding writer.
#include "planner/ICalendar.h"

#include <QUtf8StringView>
#include <vector>

namespace ical {

namespace {

bool isNameCharacter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
}

[[noreturn]] void fail(int line, const QString& what)
{
    throw FormatError(QStringLiteral("line %1 %2").arg(line).arg(what));
}

// NAME *(";" param) ":" value, the names in upper case.
Property parseContentLine(const QString& text, int line)
{
    const auto notAProperty = [line]() { fail(line, QStringLiteral("is not of the form NAME:value")); };
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto name = [&]() {
        const qsizetype from = i;
        while (i < n && isNameCharacter(text[i]))
            ++i;
        if (i == from)
            notAProperty();
        return text.sliced(from, i - from).toUpper();
    };
    Property property;
    property.line = line;
    property.name = name();
    while (i < n && text[i] == u';') {
        ++i;
        Parameter parameter;
        parameter.name = name();
        if (i >= n || text[i] != u'=')
            notAProperty();
        do {
            ++i;
            const qsizetype from = i;
            if (i < n && text[i] == u'"') {
                const qsizetype close = text.indexOf(u'"', i + 1);
                if (close < 0)
                    fail(line, QStringLiteral("has a quote that is not closed"));
                parameter.values.append(text.sliced(from + 1, close - from - 1));
                i = close + 1;
            } else {
                while (i < n && text[i] != u',' && text[i] != u';' && text[i] != u':')
                    ++i;
                parameter.values.append(text.sliced(from, i - from));
            }
        } while (i < n && text[i] == u',');
        property.parameters.append(std::move(parameter));
    }
    if (i >= n || text[i] != u':')
        notAProperty();
    property.value = text.sliced(i + 1);
    return property;
}

// The components being read, from the calendar down to the innermost one.
class Nesting final {
public:
    explicit Nesting(const std::function<void(Component&&)>& take)
        : take_(take)
    {
    }

    void handle(Property&& property)
    {
        started_ = true;
        const int line = property.line;
        if (property.name == u"BEGIN") {
            begin(property.value.trimmed().toUpper(), line);
        } else if (property.name == u"END") {
            end(property.value.trimmed().toUpper(), line);
        } else {
            if (open_.empty())
                outside(line, property.name);
            if (++held_ > MaxHeldProperties)
                fail(open_.back().line,
                    QStringLiteral("begins a %1 of more than %2 properties")
                        .arg(open_.back().name)
                        .arg(MaxHeldProperties));
            open_.back().properties.append(std::move(property));
        }
    }

    void finish()
    {
        if (!open_.empty())
            throw FormatError(QStringLiteral("it ends inside the %1 begun on line %2 (END:%1 is missing)")
                                  .arg(open_.back().name)
                                  .arg(open_.back().line));
        if (!started_)
            throw FormatError(QStringLiteral("it is empty"));
    }

private:
    [[noreturn]] static void outside(int line, const QString& what)
    {
        fail(line, QStringLiteral("holds %1 outside a calendar").arg(what));
    }

    void begin(const QString& name, int line)
    {
        if (name.isEmpty() || !std::all_of(name.cbegin(), name.cend(), isNameCharacter))
            fail(line, QStringLiteral("begins a component without a name"));
        if (open_.empty() && name != u"VCALENDAR")
            outside(line, QStringLiteral("BEGIN:") + name);
        if (!open_.empty() && name == u"VCALENDAR")
            fail(line, QStringLiteral("begins a calendar inside a %1").arg(open_.back().name));
        if (int(open_.size()) >= MaxDepth)
            fail(line, QStringLiteral("nests components more than %1 deep").arg(MaxDepth));
        // What a component of the calendar holds is let go when it is handed on.
        if (open_.size() == 1)
            heldBefore_ = held_;
        open_.push_back(Component { name, line, {}, {} });
    }

    void end(const QString& name, int line)
    {
        if (open_.empty())
            outside(line, QStringLiteral("END:") + name);
        if (open_.back().name != name)
            fail(line,
                QStringLiteral("ends a %1 where the %2 begun on line %3 should end")
                    .arg(name, open_.back().name)
                    .arg(open_.back().line));
        Component done = std::move(open_.back());
        open_.pop_back();
        if (open_.size() == 1) {
            held_ = heldBefore_;
            take_(std::move(done));
        } else if (!open_.empty()) {
            open_.back().children.append(std::move(done));
        } else {
            held_ = 0;
        }
    }

    const std::function<void(Component&&)>& take_;
    std::vector<Component> open_;
    bool started_ = false;
    int held_ = 0;
    int heldBefore_ = 0;
};

} // namespace

QString Property::parameter(QStringView wanted) const
{
    for (const Parameter& p : parameters)
        if (p.name == wanted)
            return p.values.value(0);
    return {};
}

const Property* Component::property(QStringView wanted) const
{
    for (const Property& p : properties)
        if (p.name == wanted)
            return &p;
    return nullptr;
}

void readCalendar(QByteArrayView data, const std::function<void(Component&&)>& take)
{
    if (data.size() > MaxFileSize)
        throw FormatError(QStringLiteral("it is larger than %1 MB").arg(MaxFileMegabytes));
    if (data.contains('\0'))
        throw FormatError(QStringLiteral("it holds binary data, not text"));
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    const QByteArrayView text = data.trimmed();
    if (!text.isEmpty()
        && text.first(std::min<qsizetype>(15, text.size())).compare("BEGIN:VCALENDAR", Qt::CaseInsensitive) != 0)
        throw FormatError(QStringLiteral("it is no iCalendar file (it does not begin with BEGIN:VCALENDAR)"));
    // Judged line by line once unfolded: a fold may split a character.
    const auto decode = [](QByteArrayView bytes) {
        return QUtf8StringView(bytes.data(), bytes.size()).isValidUtf8() ? QString::fromUtf8(bytes)
                                                                         : QString::fromLatin1(bytes);
    };

    Nesting nesting(take);
    // A logical line is its first physical line and the folded lines that
    // follow it, each less its leading blank; gathered in one pass, so that
    // a line folded a million times costs no more than a long one.
    QByteArray logical;
    int logicalLine = 0;
    const auto flush = [&]() {
        if (logicalLine == 0)
            return;
        nesting.handle(parseContentLine(decode(logical), logicalLine));
        logical.clear();
        logicalLine = 0;
    };
    const char* p = data.data();
    const char* const end = p + data.size();
    int lineNumber = 0;
    while (p < end) {
        const char* e = p;
        while (e < end && *e != '\r' && *e != '\n')
            ++e;
        const QByteArrayView physical(p, e - p);
        ++lineNumber;
        if (physical.isEmpty()) {
            flush();
        } else if (physical.front() == ' ' || physical.front() == '\t') {
            if (logicalLine == 0)
                fail(lineNumber, QStringLiteral("begins with a blank but continues no line"));
            logical.append(physical.sliced(1));
        } else {
            flush();
            logical = physical.toByteArray();
            logicalLine = lineNumber;
        }
        if (e == end)
            break;
        p = *e == '\r' && e + 1 < end && e[1] == '\n' ? e + 2 : e + 1;
    }
    flush();
    nesting.finish();
}

QString unescapeText(QStringView value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            text.append(c);
            continue;
        }
        const QChar next = value[++i];
        if (next == u'n' || next == u'N')
            text.append(u'\n');
        else if (next == u'\\' || next == u';' || next == u',')
            text.append(next);
        else
            text.append(c).append(next);
    }
    return text;
}

QString escapeText(QStringView text)
{
    QString value;
    value.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' || c == u';' || c == u',') {
            value.append(u'\\').append(c);
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            value.append(QStringLiteral("\\n"));
        } else if (c.category() == QChar::Other_Control && c != u'\t') {
            value.append(u' ');
        } else {
            value.append(c);
        }
    }
    return value;
}

QStringList splitTextList(QStringView value)
{
    QStringList texts;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        if (i < value.size() && value[i] == u'\\') {
            ++i;
        } else if (i == value.size() || value[i] == u',') {
            texts.append(unescapeText(value.sliced(from, i - from)));
            from = i + 1;
        }
    }
    return texts;
}

namespace {

std::optional<int> digits(QStringView text, qsizetype from, qsizetype count)
{
    int number = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
        number = number * 10 + (text[i].unicode() - u'0');
    }
    return number;
}

} // namespace

std::optional<DateTime> parseDateTimeText(QStringView text)
{
    if (text.size() != 8 && text.size() != 15 && text.size() != 16)
        return std::nullopt;
    const auto year = digits(text, 0, 4), month = digits(text, 4, 2), day = digits(text, 6, 2);
    if (!year || !month || !day || !QDate::isValid(*year, *month, *day))
        return std::nullopt;
    DateTime value;
    value.date = QDate(*year, *month, *day);
    if (text.size() == 8)
        return value;
    if (text[8] != u'T' || (text.size() == 16 && text[15] != u'Z'))
        return std::nullopt;
    const auto hour = digits(text, 9, 2), minute = digits(text, 11, 2), second = digits(text, 13, 2);
    // A leap second (60) counts as the last second of its minute.
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 60)
        return std::nullopt;
    value.time = QTime(*hour, *minute, std::min(*second, 59));
    value.utc = text.size() == 16;
    return value;
}

std::optional<DateTime> parseDateTime(const Property& property)
{
    const QString text = property.value.trimmed();
    const QString kind = property.parameter(u"VALUE").toUpper();
    if ((kind == u"DATE" && text.size() != 8) || (kind == u"DATE-TIME" && text.size() == 8))
        return std::nullopt;
    std::optional<DateTime> value = parseDateTimeText(text);
    if (value && !value->isDate() && !value->utc)
        value->zone = property.parameter(u"TZID");
    return value;
}

void Writer::begin(QStringView component) { line(QStringLiteral("BEGIN:%1").arg(component).toUtf8()); }

void Writer::end(QStringView component) { line(QStringLiteral("END:%1").arg(component).toUtf8()); }

void Writer::property(QStringView name, QStringView value)
{
    line((name.toString() + u':' + value.toString()).toUtf8());
}

void Writer::line(const QByteArray& utf8)
{
    // The first piece holds 75 octets, each folded one a blank and 74.
    qsizetype from = 0;
    qsizetype room = 75;
    while (utf8.size() - from > room) {
        qsizetype cut = from + room;
        while ((uchar(utf8[cut]) & 0xC0) == 0x80) // a continuation byte of a UTF-8 character
            --cut;
        data_.append(utf8.constData() + from, cut - from).append("\r\n ");
        from = cut;
        room = 74;
    }
    data_.append(utf8.constData() + from, utf8.size() - from).append("\r\n");
}

} // namespace ical
