// The record of the made menus.
#include "appmenus/MenuRecord.h"

#include <QCryptographicHash>
#include <algorithm>

namespace appmenus {

namespace {

const QByteArray heading = "Kavro Start made these menus from the applications; parts that differ are yours. 1";

// Names, ids and hashes go on one line each, whatever they hold.
QByteArray word(const QString& text) { return text.toUtf8().toPercentEncoding(); }
QString unword(const QByteArray& text) { return QString::fromUtf8(QByteArray::fromPercentEncoding(text)); }

// A page's file or a launcher's stem as the program names them: one plain
// name in its folder, nothing a menu line or a path could trip over.
bool plainName(const QString& name)
{
    return !name.isEmpty() && !name.startsWith(u'.') && !name.startsWith(u'-')
        && std::all_of(name.cbegin(), name.cend(), [](QChar c) {
               return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'.'
                   || c == u'_' || c == u'+' || c == u'-';
           });
}

} // namespace

QString MenuRecord::fileName() { return QStringLiteral(".made-menus"); }

QByteArray madeHash(const QList<QByteArray>& lines)
{
    // A CR never stands inside a menu line, so it parts them unmistakably.
    return QCryptographicHash::hash(lines.join('\r'), QCryptographicHash::Sha256).toHex().left(32);
}

QByteArray MenuRecord::text() const
{
    QList<QByteArray> lines { heading };
    for (auto stem = stems.cbegin(); stem != stems.cend(); ++stem)
        lines.append("stem " + word(stem.key()) + ' ' + word(stem.value()));
    for (const Page& page : pages) {
        lines.append("page " + QByteArray::number(page.column) + ' ' + word(page.file));
        for (const MadePart& part : page.parts) {
            QByteArray line = "part " + (part.hash.isEmpty() ? QByteArray("-") : part.hash);
            if (!part.application.isEmpty())
                line += ' ' + word(part.application);
            lines.append(line);
        }
    }
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + '\n';
    return text;
}

std::optional<MenuRecord> MenuRecord::parse(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 2 || lines.takeFirst() != heading || lines.takeLast() != "")
        return std::nullopt;
    MenuRecord record;
    int parts = PartCount; // of the page being read
    for (const QByteArray& line : std::as_const(lines)) {
        const QList<QByteArray> words = line.split(' ');
        if (words[0] == "stem" && words.size() == 3 && parts == PartCount) {
            const QString stem = unword(words[2]);
            if (!plainName(stem))
                return std::nullopt;
            record.stems.insert(unword(words[1]), stem);
        } else if (words[0] == "page" && words.size() == 3 && parts == PartCount) {
            bool number = false;
            const int column = words[1].toInt(&number);
            const QString file = unword(words[2]);
            if (!number || column < -1 || column > 3 || (column == -1) != record.pages.isEmpty() || !plainName(file))
                return std::nullopt;
            record.pages.append({ file, column, {} });
            parts = 0;
        } else if (words[0] == "part" && (words.size() == 2 || words.size() == 3) && parts < PartCount) {
            MadePart& part = record.pages.last().parts[size_t(parts++)];
            part.hash = words[1] == "-" ? QByteArray() : words[1];
            if (words.size() == 3)
                part.application = unword(words[2]);
        } else {
            return std::nullopt;
        }
    }
    if (parts != PartCount || record.pages.isEmpty())
        return std::nullopt;
    return record;
}

} // namespace appmenus
