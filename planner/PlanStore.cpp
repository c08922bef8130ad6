// Day stamps, entry lines and the sorted store of one user's entries.
#include "planner/PlanStore.h"

#include "platform/FileIO.h"
#include "platform/FilePaths.h"
#include "rtl/Errors.h"
#include "rtl/IntConv.h"
#include "rtl/TextFile.h"

#include <QFile>
#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <numeric>

namespace plan {

bool canPack(const QDate& date) { return date.isValid() && date.year() >= FirstYear && date.year() <= LastYear; }

qint32 packDate(const QDate& date)
{
    if (!canPack(date))
        return 0;
    const quint32 dosDate = quint32(date.year() - FirstYear) << 9 | quint32(date.month()) << 5 | quint32(date.day());
    return qint32(dosDate << 16);
}

std::optional<QDate> unpackStamp(qint32 stamp)
{
    const quint32 dosDate = quint32(stamp) >> 16;
    const int year = FirstYear + int(dosDate >> 9);
    const int month = int(dosDate >> 5 & 15);
    const int day = int(dosDate & 31);
    if (year > LastYear || !QDate::isValid(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}

QByteArray stampText(qint32 stamp)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.10d", stamp);
    return QByteArray(text);
}

QByteArray makeKey(qint32 stamp, int column, int row)
{
    return stampText(stamp) + '#' + QByteArray::number(column) + '#' + QByteArray::number(row).rightJustified(2, '0')
        + '#';
}

// Length of the key part: up to and including the third "#", or the last one when there are fewer.
static qsizetype keyLength(QByteArrayView line)
{
    if (line.isEmpty())
        return 0;
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    const char* keyEnd = begin;
    for (int k = 0; k < 3; ++k) {
        const void* hash = std::memchr(keyEnd, '#', size_t(end - keyEnd));
        if (!hash)
            break;
        keyEnd = static_cast<const char*>(hash) + 1;
    }
    return keyEnd - begin;
}

QByteArray EntryKey(QByteArrayView line) { return line.first(keyLength(line)).toByteArray(); }

bool isDone(QByteArrayView line) { return line.size() > keyLength(line) && line.endsWith('#'); }

QByteArray EntryText(QByteArrayView line)
{
    QByteArrayView text = line.sliced(keyLength(line));
    if (text.endsWith('#'))
        text.chop(1);
    return text.toByteArray();
}

int compareText(QByteArrayView a, QByteArrayView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const auto* p = reinterpret_cast<const unsigned char*>(a.data());
    const auto* q = reinterpret_cast<const unsigned char*>(b.data());
    for (qsizetype i = 0; i < n; ++i) {
        // Equal bytes need no folding: keys share long beginnings, passed eight bytes at a time.
        if (i + 8 <= n) {
            quint64 words[2];
            std::memcpy(&words[0], p + i, 8);
            std::memcpy(&words[1], q + i, 8);
            const quint64 differ = words[0] ^ words[1];
            if (differ == 0) {
                i += 7;
                continue;
            }
            i += (std::endian::native == std::endian::little ? std::countr_zero(differ) : std::countl_zero(differ)) / 8;
        }
        unsigned char x = p[i], y = q[i];
        if (x == y)
            continue;
        if (x >= 'A' && x <= 'Z')
            x = x - 'A' + 'a';
        if (y >= 'A' && y <= 'Z')
            y = y - 'A' + 'a';
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

static std::optional<qint32> fieldNumber(QByteArrayView field)
{
    // A raw view of the bytes: the conversion only reads them.
    return rtl::TryStrToInt(QByteArray::fromRawData(field.data(), field.size()));
}

std::optional<EntryFields> parseEntry(QByteArrayView line, int maxColumn, int maxRow)
{
    const qsizetype first = line.indexOf('#');
    const qsizetype second = first < 0 ? -1 : line.indexOf('#', first + 1);
    const qsizetype third = second < 0 ? -1 : line.indexOf('#', second + 1);
    if (third < 0)
        return std::nullopt;
    const auto stamp = fieldNumber(line.first(first));
    const auto column = fieldNumber(line.sliced(first + 1, second - first - 1));
    const auto row = fieldNumber(line.sliced(second + 1, third - second - 1));
    if (!stamp || !column || !row || *column < 1 || *column > maxColumn || *row < 1 || *row > maxRow)
        return std::nullopt;
    const auto date = unpackStamp(*stamp);
    if (!date)
        return std::nullopt;
    return EntryFields { *date, *column, *row };
}

// Keys first, then whole lines: lines that share a key stay next to each other.
static int compareEntries(QByteArrayView keyA, QByteArrayView lineA, QByteArrayView keyB, QByteArrayView lineB)
{
    const int byKey = compareText(keyA, keyB);
    return byKey != 0 ? byKey : compareText(lineA, lineB);
}

void PlanStore::clear()
{
    forgetMirroredFile();
    source_.clear();
    lines_.clear();
    keys_.clear();
}

void PlanStore::assign(QList<QByteArray> lines)
{
    forgetMirroredFile();
    source_.clear();
    lines_ = std::move(lines);
    keys_.clear();
    keys_.reserve(lines_.size());
    for (const QByteArray& line : std::as_const(lines_))
        keys_.append(EntryKey(line));
    sortIfNeeded();
}

void PlanStore::sortIfNeeded()
{
    const qsizetype n = lines_.size();
    bool sorted = true;
    for (qsizetype i = 1; i < n && sorted; ++i)
        sorted = compareEntries(keys_.at(i - 1), lines_.at(i - 1), keys_.at(i), lines_.at(i)) <= 0;
    if (sorted)
        return;
    std::vector<qsizetype> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](qsizetype a, qsizetype b) {
        return compareEntries(keys_.at(a), lines_.at(a), keys_.at(b), lines_.at(b)) < 0;
    });
    QList<QByteArray> lines, keys;
    lines.reserve(n);
    keys.reserve(n);
    for (qsizetype i : order) {
        lines.append(std::move(lines_[i]));
        keys.append(std::move(keys_[i]));
    }
    lines_ = std::move(lines);
    keys_ = std::move(keys);
}

void PlanStore::rememberMirroredFile(const QString& path)
{
    const auto identity = platform::regularFileIdentity(path);
    if (!identity) {
        forgetMirroredFile();
        return;
    }
    mirrored_ = path;
    mirroredIdentity_ = *identity;
}

// `size` bytes at `at` inside `whole` as a byte array of their own that
// shares `whole`'s buffer, which lives on while any such array does. A change
// to the array copies it first, as with any shared byte array.
static QByteArray sharedSlice(QByteArray& whole, const char* at, qsizetype size)
{
    QByteArray::DataPointer& buffer = whole.data_ptr();
    if (!buffer.d_ptr())
        return QByteArray();
    buffer.d_ptr()->ref();
    return QByteArray(QByteArray::DataPointer(buffer.d_ptr(), const_cast<char*>(at), size));
}

bool PlanStore::load(const QString& path)
{
    // Taken before reading: a change made while reading shows as a new identity next time.
    const auto identity = platform::regularFileIdentity(path);
    if (!identity)
        return false;
    if (path == mirrored_ && *identity == mirroredIdentity_)
        return true;
    // A file of many entries is read without taking memory for each line and
    // key: they all share the buffer the file was read into.
    QByteArray data;
    try {
        data = platform::readWholeFile(path);
    } catch (...) {
        // What the file holds now is unknown: the content may not replace it.
        forgetMirroredFile();
        source_.clear();
        throw;
    }
    data.detach();
    const char* const dataEnd = data.constData() + data.size();
    // Filled in place rather than appended to, which costs more per line.
    QList<QByteArray> lines(data.size() / 24 + 1);
    QList<QByteArray> keys(lines.size());
    qsizetype count = 0;
    rtl::forEachLine(data, [&](QByteArrayView line) {
        if (count == lines.size()) {
            lines.resize(2 * count);
            keys.resize(2 * count);
        }
        lines[count] = sharedSlice(data, line.data(), line.size());
        keys[count] = sharedSlice(data, line.data(), keyLength(line));
        ++count;
    });
    lines.resize(count);
    keys.resize(count);
    // Each line ends in a '\0', as a byte array's text does: its line end gives way.
    for (const QByteArray& line : std::as_const(lines))
        if (line.constData() + line.size() < dataEnd)
            const_cast<char*>(line.constData())[line.size()] = '\0';
    forgetMirroredFile();
    lines_ = std::move(lines);
    keys_ = std::move(keys);
    sortIfNeeded();
    source_ = path;
    mirrored_ = path;
    mirroredIdentity_ = *identity;
    return true;
}

void PlanStore::save(const QString& path)
{
    const auto cannotCreate = [&path] { return rtl::EFOpenError(QStringLiteral("Cannot create file %1").arg(path)); };
    if (path != source_ && platform::isPathTaken(path))
        throw cannotCreate();
    try {
        platform::replaceFileAtomically(
            path,
            [this](platform::ContentWriter& out) {
                for (const QByteArray& line : std::as_const(lines_)) {
                    out.put(line);
                    out.put("\r\n");
                }
            },
            0600);
    } catch (const rtl::EInOutError&) {
        forgetMirroredFile();
        throw cannotCreate();
    }
    source_ = path;
    rememberMirroredFile(path);
}

qsizetype PlanStore::find(QByteArrayView key) const
{
    const auto at = std::lower_bound(keys_.cbegin(), keys_.cend(), key,
        [](const QByteArray& k, QByteArrayView wanted) { return compareText(k, wanted) < 0; });
    if (at == keys_.cend() || compareText(*at, key) != 0)
        return -1;
    return at - keys_.cbegin();
}

// Whether two texts of the same length are equal byte for byte; stamps are
// too short for a call of memcmp to pay.
static bool sameBytes(QByteArrayView a, QByteArrayView b)
{
    const qsizetype n = a.size();
    if (n < 8) {
        for (qsizetype i = 0; i < n; ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    // The first eight bytes and the last eight, which may overlap them.
    quint64 x[2], y[2];
    std::memcpy(&x[0], a.data(), 8);
    std::memcpy(&y[0], b.data(), 8);
    std::memcpy(&x[1], a.data() + n - 8, 8);
    std::memcpy(&y[1], b.data() + n - 8, 8);
    if (n > 16 && std::memcmp(a.data() + 8, b.data() + 8, size_t(n - 16)) != 0)
        return false;
    return x[0] == y[0] && x[1] == y[1];
}

// Whether `text` begins with `prefix`, A-Z taken as a-z as in the key order.
static bool beginsWith(QByteArrayView text, QByteArrayView prefix)
{
    if (text.size() < prefix.size())
        return false;
    const QByteArrayView start = text.first(prefix.size());
    return sameBytes(start, prefix) || compareText(start, prefix) == 0;
}

// Puts `with` in the place of `count` items of `list` from `first` on,
// moving the items after them once.
static void replaceRange(QList<QByteArray>& list, qsizetype first, qsizetype count, QList<QByteArray>&& with)
{
    const qsizetype n = with.size();
    if (n > count)
        list.insert(first + count, n - count, QByteArray());
    else if (n < count)
        list.remove(first + n, count - n);
    std::move(with.begin(), with.end(), list.begin() + first);
}

void PlanStore::mergeDay(qint32 stamp, int columns, int rows, const std::function<QString(int, int)>& cellText)
{
    // Every key of the day's cells begins with its stamp and "#": all the
    // lines they can touch stand together, and only those are merged.
    const QByteArray prefix = stampText(stamp) + '#';
    const auto from = std::lower_bound(keys_.cbegin(), keys_.cend(), prefix,
        [](const QByteArray& k, const QByteArray& wanted) { return compareText(k, wanted) < 0; });
    const auto to
        = std::partition_point(from, keys_.cend(), [&prefix](const QByteArray& k) { return beginsWith(k, prefix); });
    const qsizetype first = from - keys_.cbegin();
    const qsizetype count = to - from;

    struct Added {
        QByteArray key;
        QByteArray line;
    };
    std::vector<Added> added;
    std::vector<bool> removed(size_t(count), false);
    bool changed = false;
    for (int c = 1; c <= columns; ++c) {
        for (int r = 1; r <= rows; ++r) {
            QByteArray key = makeKey(stamp, c, r);
            QString text = cellText(c, r);
            // A line break would split the entry into lines of its own.
            text.replace(u'\r', u' ').replace(u'\n', u' ');
            const qsizetype i = find(key);
            if (i >= 0) {
                if (text.isEmpty()) {
                    removed[size_t(i - first)] = true;
                    changed = true;
                } else if (text != QString::fromLocal8Bit(EntryText(lines_.at(i)))) {
                    lines_[i] = key + text.toLocal8Bit();
                    changed = true;
                }
            } else if (!text.isEmpty()) {
                QByteArray line = key + text.toLocal8Bit();
                added.push_back({ std::move(key), std::move(line) });
            }
        }
    }
    if (!changed && added.empty())
        return;
    forgetMirroredFile();

    // The day's lines, less the removed ones, merged with the new ones in order.
    std::sort(added.begin(), added.end(),
        [](const Added& a, const Added& b) { return compareEntries(a.key, a.line, b.key, b.line) < 0; });
    QList<QByteArray> lines, keys;
    lines.reserve(count + qsizetype(added.size()));
    keys.reserve(lines.capacity());
    size_t next = 0;
    for (qsizetype i = first; i < first + count; ++i) {
        if (removed[size_t(i - first)])
            continue;
        while (
            next < added.size() && compareEntries(added[next].key, added[next].line, keys_.at(i), lines_.at(i)) < 0) {
            keys.append(std::move(added[next].key));
            lines.append(std::move(added[next].line));
            ++next;
        }
        keys.append(std::move(keys_[i]));
        lines.append(std::move(lines_[i]));
    }
    for (; next < added.size(); ++next) {
        keys.append(std::move(added[next].key));
        lines.append(std::move(added[next].line));
    }
    replaceRange(lines_, first, count, std::move(lines));
    replaceRange(keys_, first, count, std::move(keys));
}

bool PlanStore::toggleDone(QByteArrayView key)
{
    const qsizetype i = find(key);
    // A mark added to a line with fewer "#" than a key has would become part of its key.
    if (i < 0 || keys_.at(i).count('#') < 3)
        return false;
    forgetMirroredFile();
    QByteArray& line = lines_[i];
    if (isDone(line))
        line.chop(1);
    else
        line.append('#');
    return true;
}

// The text before the first "#", or the whole line.
static QByteArrayView stampField(QByteArrayView line)
{
    const void* hash = line.isEmpty() ? nullptr : std::memchr(line.data(), '#', size_t(line.size()));
    return hash ? line.first(static_cast<const char*>(hash) - line.data()) : line;
}

bool PlanStore::mirrors(const QString& path) const
{
    if (mirrored_.isEmpty() || path != mirrored_)
        return false;
    const auto identity = platform::regularFileIdentity(path);
    return identity && *identity == mirroredIdentity_;
}

static std::vector<QDate> inDateOrderOnce(std::vector<QDate> days)
{
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

// In the store's order: keys first, then whole lines.
static void sortEntries(QList<QByteArray>& lines)
{
    std::stable_sort(lines.begin(), lines.end(),
        [](const QByteArray& a, const QByteArray& b) { return compareEntries(EntryKey(a), a, EntryKey(b), b) < 0; });
}

std::vector<QDate> storedDays(const QByteArray& content, int maxColumn, int maxRow)
{
    std::vector<QDate> days;
    // Lines of one day stand together in a sorted file: once a day is
    // taken, its other lines need no checking.
    QByteArrayView lastTaken; // its stamp and "#"
    rtl::forEachLine(content, [&](QByteArrayView line) {
        if (!lastTaken.isNull() && line.size() >= lastTaken.size()
            && sameBytes(line.first(lastTaken.size()), lastTaken))
            return;
        if (const auto fields = parseEntry(line, maxColumn, maxRow)) {
            days.push_back(fields->date);
            lastTaken = line.first(stampField(line).size() + 1);
        }
    });
    return inDateOrderOnce(std::move(days));
}

QList<QByteArray> linesOfDay(const QByteArray& content, const QDate& date, int maxColumn, int maxRow)
{
    QList<QByteArray> lines;
    if (!canPack(date))
        return lines;
    const qint32 wanted = packDate(date);
    const QByteArray wantedText = stampText(wanted);
    QByteArrayView lastOther; // a stamp already found to be of another day
    rtl::forEachLine(content, [&](QByteArrayView line) {
        const QByteArrayView field = stampField(line);
        if (field != wantedText) {
            if (!lastOther.isNull() && field == lastOther)
                return;
            // The same day may be written with other digits (no leading zeros, a time part).
            const auto stamp = fieldNumber(field);
            if (!stamp || quint32(*stamp) >> 16 != quint32(wanted) >> 16) {
                lastOther = field;
                return;
            }
        }
        if (parseEntry(line, maxColumn, maxRow))
            lines.append(line.toByteArray());
    });
    sortEntries(lines);
    return lines;
}

// Calls `visit(first, end)` for each run of the store's lines whose keys
// begin with the same stamp text and "#"; a line whose key has no "#" is a
// run of its own. Runs are short: each end is found by doubling steps, then
// halving, unless the run is as long as the one before.
template <class Visit> static void forEachStampRun(const PlanStore& store, Visit&& visit)
{
    const QList<QByteArray>& keys = store.KeyList();
    const qsizetype n = keys.size();
    qsizetype first = 0;
    qsizetype lastLength = 0;
    while (first < n) {
        const QByteArrayView key = keys.at(first);
        const QByteArrayView stamp = stampField(key);
        qsizetype end = first + 1;
        if (stamp.size() < key.size()) {
            const QByteArrayView prefix = key.first(stamp.size() + 1);
            const auto inRun = [prefix](const QByteArray& k) { return beginsWith(k, prefix); };
            // Days often hold as many entries as the day before: that end is tried first.
            const qsizetype guess = first + lastLength;
            if (lastLength > 1 && guess <= n && inRun(keys.at(guess - 1)) && (guess == n || !inRun(keys.at(guess)))) {
                end = guess;
            } else {
                qsizetype beyond = end;
                for (qsizetype step = 1; beyond < n && inRun(keys.at(beyond)); step *= 2) {
                    end = beyond + 1;
                    beyond = end + step;
                }
                end = std::partition_point(keys.cbegin() + end, keys.cbegin() + std::min(beyond, n), inRun)
                    - keys.cbegin();
            }
            lastLength = end - first;
        }
        visit(first, end);
        first = end;
    }
}

std::vector<QDate> storedDays(const PlanStore& store, int maxColumn, int maxRow)
{
    std::vector<QDate> days;
    const QList<QByteArray>& lines = store.LineList();
    forEachStampRun(store, [&](qsizetype first, qsizetype end) {
        // One line that unpacks names the run's day.
        for (qsizetype i = first; i < end; ++i) {
            if (const auto fields = parseEntry(lines.at(i), maxColumn, maxRow)) {
                days.push_back(fields->date);
                return;
            }
        }
    });
    return inDateOrderOnce(std::move(days));
}

QList<QByteArray> linesOfDay(const PlanStore& store, const QDate& date, int maxColumn, int maxRow)
{
    QList<QByteArray> found;
    if (!canPack(date))
        return found;
    const quint32 wantedDay = quint32(packDate(date)) >> 16;
    const QList<QByteArray>& lines = store.LineList();
    forEachStampRun(store, [&](qsizetype first, qsizetype end) {
        const auto stamp = fieldNumber(stampField(store.KeyList().at(first)));
        if (!stamp || quint32(*stamp) >> 16 != wantedDay)
            return;
        for (qsizetype i = first; i < end; ++i)
            if (parseEntry(lines.at(i), maxColumn, maxRow))
                found.append(lines.at(i));
    });
    sortEntries(found);
    return found;
}

static bool hasControlCharacter(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

// A file name holds at most 255 bytes; the planner file adds ".tpl".
constexpr qsizetype maxUserNameBytes = 255 - 4;

QString userNameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("Please type a user name.");
    if (name.front().isSpace() || name.back().isSpace())
        return QStringLiteral("A user name cannot begin or end with a blank.");
    if (name == u"." || name == u"..")
        return QStringLiteral("A user name cannot be \".\" or \"..\".");
    if (name.startsWith(u'[') || name.startsWith(u';'))
        return QStringLiteral("A user name cannot begin with \"[\" or \";\".");
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c == u'=')
            return QStringLiteral("A user name cannot hold \"/\", \"\\\" or \"=\".");
    }
    if (hasControlCharacter(name))
        return QStringLiteral("A user name cannot hold control characters.");
    // The planner file's name, with ".tpl", must fit a file name.
    if (QFile::encodeName(name).size() > maxUserNameBytes)
        return QStringLiteral("The user name is too long.");
    return {};
}

QString passwordProblem(const QString& password)
{
    if (hasControlCharacter(password))
        return QStringLiteral("A password cannot hold control characters (such as a line break or a tab).");
    return {};
}

QString storedPassword(const QString& password)
{
    const QByteArray bytes = password.toLocal8Bit();
    QByteArray read = bytes.trimmed();
    if (read.size() >= 2 && (read.front() == '"' || read.front() == '\'') && read.back() == read.front())
        read = read.mid(1, read.size() - 2);
    if (read == bytes)
        return password;
    return u'"' + password + u'"';
}

} // namespace plan
