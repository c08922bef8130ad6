// The planner's day storage: day stamps, the entry line format, one user's
// lines held sorted with their keys, and the checks on user names.
#pragma once

#include "platform/FileIO.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace plan {

// Only days of these years can be packed into a day stamp.
constexpr int FirstYear = 1980;
constexpr int LastYear = 2099;

bool canPack(const QDate& date);

// The date in the DOS file-date layout in the upper 16 bits (time 0);
// 0 for a date that cannot be packed. Days from 2044 are negative.
qint32 packDate(const QDate& date);

// The day a stamp stands for; nothing when it names no day.
std::optional<QDate> unpackStamp(qint32 stamp);

// "%.10d": at least ten digits, after the sign.
QByteArray stampText(qint32 stamp);

// Stamp, "#", column, "#", row as two digits, "#".
QByteArray makeKey(qint32 stamp, int column, int row);

// The text up to and including the third "#".
QByteArray EntryKey(QByteArrayView line);

// The text after the third "#", less a trailing "#", which is the done mark.
QByteArray EntryText(QByteArrayView line);

// Whether the text after the key ends in the done mark "#"; a line that is
// its key alone is not done.
bool isDone(QByteArrayView line);

// Ordinal comparison with A-Z taken as a-z; the one order of keys and lines.
int compareText(QByteArrayView a, QByteArrayView b);

struct EntryFields {
    QDate date;
    int column = 0;
    int row = 0;
};

// Date, column (1..maxColumn) and row (1..maxRow) of a line; nothing when
// any of them does not unpack.
std::optional<EntryFields> parseEntry(QByteArrayView line, int maxColumn, int maxRow);

// One user's entry lines, sorted, each with its key at the same index.
class PlanStore final {
public:
    const QList<QByteArray>& LineList() const { return lines_; }
    const QList<QByteArray>& KeyList() const { return keys_; }
    qsizetype size() const { return lines_.size(); }

    void clear();
    // Replaces the content by `lines`, sorted.
    void assign(QList<QByteArray> lines);

    // Replaces the content by the file's lines; false, content kept, when
    // there is no file. A file that has not changed since the store last
    // read or wrote it, while the store itself is unchanged, is not read again.
    // A file that cannot be read raises the input/output error and leaves
    // the content as it was, but no longer allowed to replace that file.
    bool load(const QString& path);
    // Writes every line followed by CR LF, replacing the file atomically; a
    // new file is readable by its owner only. Raises "Cannot create file %s",
    // also without writing anything when a file stands at `path` that the
    // content was not read from (or last written to): what the store holds
    // must never replace entries it has not seen.
    void save(const QString& path);

    // Index of the line with this key, or -1 (binary search).
    qsizetype find(QByteArrayView key) const;

    // Merges one day's cells (columns 1..columns, rows 1..rows) into the
    // lines: an empty cell removes its entry, a changed text replaces it
    // (dropping the done mark), a new text is added in its sorted place.
    void mergeDay(qint32 stamp, int columns, int rows, const std::function<QString(int column, int row)>& cellText);

    // Flips the done mark of the line with this key, leaving its key as it
    // is; false when there is no such line or its key lacks a "#" of the three.
    bool toggleDone(QByteArrayView key);

    // Whether the content is an exact copy of the file at `path` as it stands now.
    bool mirrors(const QString& path) const;

private:
    void sortIfNeeded();
    void rememberMirroredFile(const QString& path);
    void forgetMirroredFile() { mirrored_.clear(); }

    QList<QByteArray> lines_;
    QList<QByteArray> keys_;
    // The file the content was read from or last written to, changes merged since included.
    QString source_;
    // The file the content is an exact copy of, and that file's identity.
    QString mirrored_;
    platform::FileIdentity mirroredIdentity_;
};

// The days a planner file's content (lines ending at CR LF, CR or LF) holds
// entries for, in date order, each once; lines that do not unpack are skipped.
std::vector<QDate> storedDays(const QByteArray& content, int maxColumn, int maxRow);

// The lines filed under `date`, in sorted order; lines that do not unpack are skipped.
QList<QByteArray> linesOfDay(const QByteArray& content, const QDate& date, int maxColumn, int maxRow);

// The same for a store's lines, looking at each stamp once rather than at
// every line: the lines of one stamp stand together in a sorted store.
std::vector<QDate> storedDays(const PlanStore& store, int maxColumn, int maxRow);
QList<QByteArray> linesOfDay(const PlanStore& store, const QDate& date, int maxColumn, int maxRow);

// Why `name` cannot be a user name (it must be a file name and a key of
// the user file of its own), or an empty text when it can.
QString userNameProblem(const QString& name);

// Why `password` cannot be stored in the user file (a line break would
// start a line of its own), or an empty text when it can.
QString passwordProblem(const QString& password);

// The value to store for a password so that it reads back exactly: blanks
// around it and a pair of quotes would otherwise be taken off on reading.
QString storedPassword(const QString& password);

} // namespace plan
