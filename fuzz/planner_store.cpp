// The planner's line parser and the store merge: a planner file of any
// content loads into a store whose keys stay aligned and sorted, and a
// merged day holds exactly the grid's cells afterwards.
#include "FuzzSupport.h"
#include "planner/PlanStore.h"
#include "rtl/TextFile.h"

#include <QSet>

namespace {

constexpr int columns = 4;
constexpr int rows = 12;

void checkAligned(const plan::PlanStore& store)
{
    fuzz::check(store.KeyList().size() == store.LineList().size(), "as many keys as lines");
    for (qsizetype i = 0; i < store.size(); ++i) {
        fuzz::check(store.KeyList().at(i) == plan::EntryKey(store.LineList().at(i)), "each key beside its line");
        if (i > 0)
            fuzz::check(plan::compareText(store.KeyList().at(i - 1), store.KeyList().at(i)) <= 0, "keys sorted");
        fuzz::check(store.find(store.KeyList().at(i)) >= 0, "every key found");
    }
}

// Whether a merged cell reads back as typed: line breaks become blanks, and
// a newly written text that ends in "#" loses it as the done mark.
bool readsBackAs(const QString& read, QString typed)
{
    typed.replace(u'\r', u' ').replace(u'\n', u' ');
    if (read == typed)
        return true;
    QByteArray bytes = typed.toLocal8Bit();
    return bytes.endsWith('#') && read == QString::fromLocal8Bit(bytes.chopped(1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first bytes choose the day and the grid's cells, the rest is the file.
    if (size < 3)
        return 0;
    const QDate day = QDate(plan::FirstYear, 1, 1).addDays((data[0] << 8 | data[1]) % 43800);
    const uint8_t cellCount = data[2] % 8;
    const QByteArray rest = fuzz::bytes(data + 3, size - 3);
    const qsizetype split = rest.indexOf('\0');
    const QByteArray cellBytes = split < 0 ? QByteArray() : rest.left(split);
    const QByteArray fileBytes = split < 0 ? rest : rest.mid(split + 1);

    for (const QByteArray& line : { fileBytes.left(64), fileBytes.right(64) })
        if (const auto fields = plan::parseEntry(line, columns, rows)) {
            fuzz::check(fields->column >= 1 && fields->column <= columns, "column in range");
            fuzz::check(fields->row >= 1 && fields->row <= rows, "row in range");
            fuzz::check(plan::canPack(fields->date), "a parsed day packs");
        }

    const fuzz::MemoryFile file(fileBytes);
    plan::PlanStore store;
    fuzz::check(store.load(file.path()), "the file loads");
    checkAligned(store);
    bool uniqueKeys = true;
    for (qsizetype i = 1; i < store.size(); ++i)
        uniqueKeys = uniqueKeys && plan::compareText(store.KeyList().at(i - 1), store.KeyList().at(i)) != 0;

    // Cells typed into the grid: pieces of the cell bytes at chosen places.
    QHash<int, QString> cells;
    const QList<QByteArray> pieces = cellBytes.split('\x01');
    for (int k = 0; k < cellCount && k < pieces.size(); ++k) {
        const QByteArray& piece = pieces.at(k);
        const int place = piece.isEmpty() ? 0 : uint8_t(piece[0]) % (columns * rows);
        cells.insert(place, QString::fromUtf8(piece.mid(1)));
    }
    const qint32 stamp = plan::packDate(day);
    store.mergeDay(stamp, columns, rows, [&cells](int c, int r) { return cells.value((c - 1) * rows + (r - 1)); });
    checkAligned(store);
    if (uniqueKeys) {
        for (int c = 1; c <= columns; ++c) {
            for (int r = 1; r <= rows; ++r) {
                const QString text = cells.value((c - 1) * rows + (r - 1));
                const qsizetype i = store.find(plan::makeKey(stamp, c, r));
                if (text.isEmpty()) {
                    fuzz::check(i < 0, "an emptied cell has no entry");
                } else {
                    fuzz::check(i >= 0, "a filled cell has an entry");
                    fuzz::check(readsBackAs(QString::fromLocal8Bit(plan::EntryText(store.LineList().at(i))), text),
                        "the entry reads back as the cell");
                }
            }
        }
    }

    // Two flips give the line back and keep its key (but for a text ending
    // in "#", which the format cannot show as not done).
    if (store.size() > 0
        && !plan::EntryText(store.LineList().at(store.find(store.KeyList().at(store.size() / 2)))).endsWith('#')) {
        const QByteArray key = store.KeyList().at(store.size() / 2);
        const QByteArray before = store.LineList().at(store.find(key));
        if (store.toggleDone(key)) {
            checkAligned(store);
            fuzz::check(store.toggleDone(key), "a toggled key toggles again");
            fuzz::check(store.LineList().at(store.find(key)) == before, "two toggles undo each other");
        }
        checkAligned(store);
    }

    // The tree's days and a day's list, from the file, from the store's lines
    // written out, and from the store itself, a stamp at a time.
    const QByteArray content = rtl::joinCrLf(store.LineList());
    for (const QByteArray& source : { fileBytes, content }) {
        const std::vector<QDate> days = plan::storedDays(source, columns, rows);
        for (size_t i = 1; i < days.size(); ++i)
            fuzz::check(days[i - 1] < days[i], "days in order, each once");
        for (const QByteArray& line : plan::linesOfDay(source, day, columns, rows))
            fuzz::check(plan::parseEntry(line, columns, rows)->date == day, "a day's list holds that day only");
    }
    fuzz::check(plan::storedDays(store, columns, rows) == plan::storedDays(content, columns, rows),
        "the store's days are its lines' days");
    fuzz::check(plan::linesOfDay(store, day, columns, rows) == plan::linesOfDay(content, day, columns, rows),
        "the store's list of a day is its lines' list");
    return 0;
}
