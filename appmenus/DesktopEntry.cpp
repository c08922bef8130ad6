// Desktop entry files.
#include "appmenus/DesktopEntry.h"

namespace {

QString unescapeString(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default: // unknown escapes are kept whole, for list splitting and Exec quoting
            out += c;
            out += next;
            break;
        }
    }
    return out;
}

// Characters that make an Exec argument need quotes.
bool isReserved(QChar c)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

} // namespace

DesktopEntry DesktopEntry::parse(const QByteArray& data, const QString& locale, const QString& group)
{
    const QString groupHeader = u'[' + group + u']';
    DesktopEntry entry;
    entry.localeSuffixes_ = localeVariants(locale);
    bool inGroup = false;
    for (const QByteArray& rawLine : data.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            // Only the first group of the name counts; actions and other groups are skipped.
            inGroup = line == groupHeader && !entry.valid_;
            entry.valid_ = entry.valid_ || inGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inGroup || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (!entry.raw_.contains(key)) // a repeated key is an error; the first one is kept
            entry.raw_.insert(key, line.mid(equals + 1).trimmed());
    }
    return entry;
}

QString DesktopEntry::value(const QString& key) const { return unescapeString(raw_.value(key)); }

std::optional<QStringList> DesktopEntry::command(const QString& location) const
{
    return splitExec(value(QStringLiteral("Exec")),
        { localeValue(QStringLiteral("Name")), localeValue(QStringLiteral("Icon")), location });
}

QString DesktopEntry::localeValue(const QString& key) const
{
    for (const QString& suffix : localeSuffixes_) {
        const auto it = raw_.constFind(key + u'[' + suffix + u']');
        if (it != raw_.cend())
            return unescapeString(*it);
    }
    return value(key);
}

bool DesktopEntry::boolean(const QString& key) const
{
    const QString v = raw_.value(key);
    return v == u"true" || v == u"1";
}

QStringList DesktopEntry::list(const QString& key) const
{
    QStringList items;
    QString item;
    const QString raw = raw_.value(key);
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'\\' && i + 1 < raw.size()) {
            // "\;" is a semicolon of the item; other escapes wait for unescapeString.
            if (raw[i + 1] != u';')
                item += raw[i];
            item += raw[++i];
        } else if (raw[i] == u';') {
            items.append(item);
            item.clear();
        } else {
            item += raw[i];
        }
    }
    items.append(item);
    QStringList result;
    for (const QString& each : items)
        if (!each.isEmpty())
            result.append(unescapeString(each));
    return result;
}

QStringList localeVariants(const QString& locale)
{
    QString name = locale;
    QString modifier;
    if (const qsizetype at = name.indexOf(u'@'); at >= 0) {
        modifier = name.mid(at + 1);
        name.truncate(at);
    }
    if (const qsizetype dot = name.indexOf(u'.'); dot >= 0)
        name.truncate(dot);
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return {};
    QString lang = name;
    QString country;
    if (const qsizetype underscore = name.indexOf(u'_'); underscore >= 0) {
        lang = name.left(underscore);
        country = name.mid(underscore + 1);
    }
    QStringList variants;
    if (!country.isEmpty() && !modifier.isEmpty())
        variants.append(lang + u'_' + country + u'@' + modifier);
    if (!country.isEmpty())
        variants.append(lang + u'_' + country);
    if (!modifier.isEmpty())
        variants.append(lang + u'@' + modifier);
    variants.append(lang);
    return variants;
}

QString messageLocale()
{
    for (const char* name : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

std::optional<QStringList> splitExec(const QString& exec, const ExecFields& fields)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    bool dropped = false;
    bool icon = false;
    auto finish = [&] {
        if (icon && (!current.isEmpty() || fields.icon.isEmpty()))
            dropped = true; // %i stands for whole arguments only, and for none without an icon
        if (inArgument && !dropped)
            arguments += icon ? QStringList { QStringLiteral("--icon"), fields.icon } : QStringList { current };
        current.clear();
        inArgument = quoted = dropped = icon = false;
    };
    auto expand = [&](const QString& value) {
        current += value;
        dropped = dropped || value.isEmpty();
    };
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size() && QStringView(u"\"`$\\").contains(exec[i + 1])) {
                current += exec[++i];
            } else if (c == u'%' && i + 1 < exec.size()) {
                // Codes inside quotes are no codes of ours, but %% still stands for one %.
                current += c;
                if (exec[i + 1] == u'%')
                    ++i;
            } else {
                current += c;
            }
            continue;
        }
        if (c == u' ' || c == u'\t' || c == u'\n') {
            finish();
            continue;
        }
        inArgument = true;
        if (c == u'"') {
            quoted = true;
        } else if (c == u'\\') {
            if (++i == exec.size())
                return std::nullopt;
            current += exec[i];
        } else if (c == u'%' && i + 1 < exec.size() && (exec[i + 1] == u'%' || exec[i + 1].isLetter())) {
            switch (exec[++i].unicode()) {
            case '%':
                current += u'%';
                break;
            case 'c':
                expand(fields.name);
                break;
            case 'k':
                expand(fields.location);
                break;
            case 'i':
                icon = true;
                break;
            default: // files and URLs (none are passed), deprecated and unknown codes
                dropped = true;
                break;
            }
        } else {
            current += c;
        }
    }
    if (quoted)
        return std::nullopt;
    finish();
    return arguments;
}

QString quoteExecArgument(const QString& argument)
{
    bool plain = !argument.isEmpty();
    for (const QChar c : argument)
        plain = plain && !isReserved(c);
    if (plain)
        return QString(argument).replace(u'%', QStringLiteral("%%"));
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
        if (c == u'%')
            quoted += u'%';
    }
    return quoted + u'"';
}

QString execLine(const QStringList& arguments)
{
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted.append(quoteExecArgument(argument));
    QString line = quoted.join(u' ');
    // String escaping comes on top of the quoting rules.
    line.replace(u'\\', QStringLiteral("\\\\"));
    line.replace(u'\n', QStringLiteral("\\n"));
    line.replace(u'\t', QStringLiteral("\\t"));
    line.replace(u'\r', QStringLiteral("\\r"));
    return line;
}
