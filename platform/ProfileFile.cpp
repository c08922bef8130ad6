// Profile file access with private-profile semantics.
#include "platform/ProfileFile.h"

#include "rtl/AsciiCase.h"
#include "rtl/Errors.h"
#include "rtl/IntConv.h"
#include "rtl/TextFile.h"

#include <QFile>

namespace platform {

namespace {

QByteArray trimmed(const QByteArray& text) { return text.trimmed(); }

bool sameName(const QByteArray& a, const QByteArray& b) { return rtl::asciiCaseEqual(a, b); }

// The section name of a "[name]" line, if the line is one.
std::optional<QByteArray> sectionName(const QByteArray& line)
{
    const QByteArray text = trimmed(line);
    if (!text.startsWith('['))
        return std::nullopt;
    const qsizetype close = text.indexOf(']');
    return trimmed(text.mid(1, close < 0 ? -1 : close - 1));
}

struct KeyLine {
    QByteArray key;
    QByteArray value;
};

std::optional<KeyLine> keyLine(const QByteArray& line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return KeyLine { trimmed(line.left(eq)), trimmed(line.mid(eq + 1)) };
}

QByteArray unquoted(const QByteArray& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// Splits on CR LF, lone CR or lone LF, keeping every line's bytes.
QList<QByteArray> splitLines(const QByteArray& data)
{
    QList<QByteArray> lines;
    rtl::forEachLine(data, [&lines](QByteArrayView line) { lines.append(line.toByteArray()); });
    return lines;
}

} // namespace

ProfileFile::ProfileFile(QString path)
    : path_(std::move(path))
{
}

QList<QByteArray> ProfileFile::lines() const
{
    if (!QFile::exists(path_))
        return {};
    try {
        return splitLines(readWholeFile(path_));
    } catch (const rtl::EInOutError&) {
        return {}; // for reading, an unreadable file is a missing one
    }
}

std::optional<QString> ProfileFile::value(const QString& section, const QString& key) const
{
    const QByteArray wantedSection = section.toLocal8Bit();
    const QByteArray wantedKey = key.toLocal8Bit();
    bool inSection = false;
    for (const QByteArray& line : lines()) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, wantedSection);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto entry = keyLine(line); entry && sameName(entry->key, wantedKey))
            return QString::fromLocal8Bit(unquoted(entry->value));
    }
    return std::nullopt;
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& fallback) const
{
    return value(section, key).value_or(fallback);
}

qint32 ProfileFile::readInteger(const QString& section, const QString& key, qint32 fallback) const
{
    QByteArray text = readString(section, key, QString()).toLocal8Bit();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text = '$' + text.mid(2);
    return rtl::StrToIntDef(text, fallback);
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QByteArray wantedSection = section.toLocal8Bit();
    const QByteArray wantedKey = key.toLocal8Bit();
    const QByteArray newLine = wantedKey + '=' + value.toLocal8Bit();
    QList<QByteArray> all;
    try {
        // Writing over a file that exists but cannot be read would lose it.
        if (QFile::exists(path_))
            all = splitLines(readWholeFile(path_));
    } catch (const rtl::EInOutError&) {
        throw rtl::EIniFileException(QStringLiteral("Unable to write to %1").arg(path_));
    }

    qsizetype sectionStart = -1; // index of the section's header line
    qsizetype lastEntry = -1; // last non-blank line of the section
    bool done = false;
    bool inSection = false;
    for (qsizetype i = 0; i < all.size() && !done; ++i) {
        if (const auto name = sectionName(all[i])) {
            if (inSection)
                break;
            inSection = sameName(*name, wantedSection);
            if (inSection) {
                sectionStart = i;
                lastEntry = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (const auto entry = keyLine(all[i]); entry && sameName(entry->key, wantedKey)) {
            all[i] = newLine;
            done = true;
        } else if (!trimmed(all[i]).isEmpty()) {
            lastEntry = i;
        }
    }
    if (!done) {
        if (sectionStart >= 0) {
            all.insert(lastEntry + 1, newLine);
        } else {
            all.append('[' + wantedSection + ']');
            all.append(newLine);
        }
    }
    try {
        replaceFileAtomically(path_, rtl::joinCrLf(all), newFileMode_);
    } catch (const rtl::EInOutError&) {
        throw rtl::EIniFileException(QStringLiteral("Unable to write to %1").arg(path_));
    }
}

void ProfileFile::writeInteger(const QString& section, const QString& key, qint32 value)
{
    writeString(section, key, QString::number(value));
}

} // namespace platform
