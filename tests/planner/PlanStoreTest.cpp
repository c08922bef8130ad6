// The day storage without a screen: stamps, entry lines, the sorted store,
// the planner file and the checks on user names and passwords.
#include "planner/PlanStore.h"

#include "platform/ProfileFile.h"
#include "rtl/Errors.h"
#include "rtl/TextFile.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace plan;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st { };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 0777;
}

// Every key sits beside its own line and the keys are in search order.
void expectAligned(const PlanStore& store)
{
    ASSERT_EQ(store.KeyList().size(), store.LineList().size());
    for (qsizetype i = 0; i < store.size(); ++i) {
        EXPECT_EQ(store.KeyList().at(i), EntryKey(store.LineList().at(i))) << i;
        if (i > 0) {
            EXPECT_LE(compareText(store.KeyList().at(i - 1), store.KeyList().at(i)), 0) << i;
        }
    }
}

} // namespace

TEST(DayStamp, PacksTheDosDateLayoutAndRoundTripsWithinItsYears)
{
    struct Case {
        QDate date;
        QByteArray text;
    };
    const Case cases[] = {
        { QDate(1997, 3, 15), "0577699840" },
        { QDate(1980, 1, 1), "0002162688" },
        { QDate(2043, 12, 31), "2141126656" },
        { QDate(2044, 1, 1), "-2145320960" },
        { QDate(2099, 12, 31), "-0274792448" },
    };
    for (const Case& c : cases) {
        const qint32 stamp = packDate(c.date);
        EXPECT_EQ(stampText(stamp), c.text) << c.date.toString().toStdString();
        EXPECT_EQ(unpackStamp(stamp), c.date);
    }
    EXPECT_EQ(makeKey(packDate(QDate(1997, 3, 15)), 1, 3), "0577699840#1#03#");
    for (const QDate& outside : { QDate(1979, 12, 31), QDate(2100, 1, 1) }) {
        EXPECT_FALSE(canPack(outside));
        EXPECT_EQ(packDate(outside), 0);
    }
    EXPECT_FALSE(unpackStamp(0).has_value()); // month 0
}

TEST(EntryLine, OnlyATrailingHashIsTheDoneMark)
{
    struct Case {
        QByteArray line, key, text;
        bool done;
    };
    const Case cases[] = {
        { "0577699840#1#03#Dentist", "0577699840#1#03#", "Dentist", false },
        { "0577699840#1#03#Dentist#", "0577699840#1#03#", "Dentist", true },
        { "0577699840#1#03#a#b", "0577699840#1#03#", "a#b", false },
        { "0577699840#1#03#a#b#", "0577699840#1#03#", "a#b", true },
        { "-2147155968#4#12#x", "-2147155968#4#12#", "x", false },
        { "0577699840#1#03#", "0577699840#1#03#", "", false }, // the key alone
        { "0577699840#1#03##", "0577699840#1#03#", "", true },
        { "damaged", "", "damaged", false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EntryKey(c.line), c.key) << c.line.constData();
        EXPECT_EQ(EntryText(c.line), c.text) << c.line.constData();
        EXPECT_EQ(isDone(c.line), c.done) << c.line.constData();
    }
}

TEST(PlanStore, KeepsKeysAlignedAndSearchableWithDamagedAndMixedCaseLines)
{
    PlanStore store;
    // Locale collation would ignore "-" and "#"; a damaged line has no key.
    store.assign({ "0577699840#2#01#b", "no hash at all", "-2147155968#1#01#future", "0577699840#1#01#A",
        "0577699840#1#01#a", "0577699840#1#3#odd row", "#", "0002162688#1#01#x" });
    expectAligned(store);
    for (const QByteArray& key : store.KeyList())
        EXPECT_GE(store.find(key), 0) << key.constData();
    EXPECT_EQ(store.find("0577699840#1#02#"), -1);
    EXPECT_EQ(store.LineList().at(store.find("0577699840#2#01#")), "0577699840#2#01#b");
}

TEST(PlanStore, MergeKeepsMarksOfRetypedTextsAndInsertsInSortedPlace)
{
    PlanStore store;
    const qint32 day = packDate(QDate(2026, 5, 4));
    const QByteArray k = stampText(day);
    store.assign({ k + "#1#01#Same#", k + "#1#02#Old#", k + "#1#03#Gone", "0577699840#1#01#Other day" });
    store.mergeDay(day, 4, 12, [](int c, int r) {
        if (c == 1 && r == 1)
            return QStringLiteral("Same");
        if (c == 1 && r == 2)
            return QStringLiteral("New");
        if (c == 3 && r == 7)
            return QStringLiteral("Added\r\nline");
        return QString();
    });
    EXPECT_EQ(store.LineList(),
        QList<QByteArray>(
            { "0577699840#1#01#Other day", k + "#1#01#Same#", k + "#1#02#New", k + "#3#07#Added  line" }));
    expectAligned(store);
}

TEST(PlanStore, MergedAdditionsOverManyDaysMatchAFullSort)
{
    PlanStore store;
    QList<QByteArray> expected;
    QRandomGenerator random(7);
    for (int n = 0; n < 40; ++n) {
        const QDate date = QDate(2040, 1, 1).addDays(random.bounded(3000));
        const int c = 1 + random.bounded(4), r = 1 + random.bounded(12);
        const QString text = QStringLiteral("e%1").arg(n);
        const QByteArray line = makeKey(packDate(date), c, r) + text.toLatin1();
        if (store.find(EntryKey(line)) >= 0)
            continue;
        store.mergeDay(packDate(date), 4, 12, [&](int cc, int rr) { return cc == c && rr == r ? text : QString(); });
        expected.append(line);
    }
    std::sort(expected.begin(), expected.end(),
        [](const QByteArray& a, const QByteArray& b) { return compareText(a, b) < 0; });
    EXPECT_EQ(store.LineList(), expected);
    expectAligned(store);
}

TEST(PlanStore, ToggleDoneFlipsOnlyTheMarkAfterTheKeyAndLeavesAMissingKeyAlone)
{
    // An entry with no text, and a damaged line whose key lacks a "#".
    PlanStore damaged;
    damaged.assign({ "0577699840#1#04#", "abc#def" });
    for (const QByteArray line : { "0577699840#1#04##", "0577699840#1#04#" }) {
        EXPECT_TRUE(damaged.toggleDone("0577699840#1#04#"));
        EXPECT_EQ(damaged.LineList().at(damaged.find("0577699840#1#04#")), line);
        expectAligned(damaged);
    }
    EXPECT_FALSE(damaged.toggleDone("abc#"));
    expectAligned(damaged);

    PlanStore store;
    store.assign({ "0577699840#1#03#Dentist" });
    EXPECT_TRUE(store.toggleDone("0577699840#1#03#"));
    EXPECT_EQ(store.LineList().at(0), "0577699840#1#03#Dentist#");
    EXPECT_TRUE(store.toggleDone("0577699840#1#03#"));
    EXPECT_EQ(store.LineList().at(0), "0577699840#1#03#Dentist");
    EXPECT_FALSE(store.toggleDone("0577699840#1#04#"));
    EXPECT_EQ(store.LineList(), QList<QByteArray>({ "0577699840#1#03#Dentist" }));
}

TEST(PlannerFile, WritesCrLfAtomicallyPrivateWhenNewAndKeepsAnOldFilesMode)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bob.tpl"));
    PlanStore store;
    EXPECT_FALSE(store.load(path));
    store.assign({ "0577699840#1#03#b", "0577699840#1#01#a" });
    store.save(path);
    EXPECT_EQ(readFile(path), "0577699840#1#01#a\r\n0577699840#1#03#b\r\n");
    EXPECT_EQ(modeOf(path), 0600u);
    ::chmod(QFile::encodeName(path).constData(), 0644);
    store.save(path);
    EXPECT_EQ(modeOf(path), 0644u);

    // Lines written elsewhere may end in a bare LF or CR.
    writeFile(path, "0577699840#2#01#x\n0577699840#1#01#y\r0577699840#3#01#z");
    PlanStore loaded;
    ASSERT_TRUE(loaded.load(path));
    EXPECT_EQ(loaded.LineList(), QList<QByteArray>({ "0577699840#1#01#y", "0577699840#2#01#x", "0577699840#3#01#z" }));
}

// Loaded lines share the buffer the file was read into: each must still behave
// as a byte array of its own, through changes, copies and the next load.
TEST(PlannerFile, LoadedLinesStandOnTheirOwnThroughChangesCopiesAndTheNextLoad)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bob.tpl"));
    const QByteArray k = stampText(packDate(QDate(2026, 5, 4)));
    writeFile(path, k + "#1#01#One\r\n" + k + "#1#02#Two#\n\r\n" + k + "#2#01#Three\r" + k + "#2#02#Last");
    PlanStore store;
    ASSERT_TRUE(store.load(path));
    const QList<QByteArray> loaded = { "", k + "#1#01#One", k + "#1#02#Two#", k + "#2#01#Three", k + "#2#02#Last" };
    EXPECT_EQ(store.LineList(), loaded);
    expectAligned(store);
    for (const QByteArray& line : store.LineList())
        EXPECT_EQ(line.constData()[line.size()], '\0') << line.constData();

    const QList<QByteArray> lines = store.LineList();
    const QList<QByteArray> keys = store.KeyList();
    EXPECT_TRUE(store.toggleDone(k + "#1#01#"));
    EXPECT_TRUE(store.toggleDone(k + "#1#02#"));
    store.mergeDay(packDate(QDate(2026, 5, 4)), 4, 12, [](int c, int r) {
        return c == 2 && r == 1 ? QStringLiteral("3") : c == 2 && r == 2 ? QStringLiteral("Last") : QString();
    });
    EXPECT_EQ(store.LineList(), QList<QByteArray>({ "", k + "#2#01#3", k + "#2#02#Last" }));
    expectAligned(store);
    EXPECT_EQ(lines, loaded);

    writeFile(dir.filePath(QStringLiteral("ann.tpl")), "0577699840#1#01#Other\r\n");
    ASSERT_TRUE(store.load(dir.filePath(QStringLiteral("ann.tpl"))));
    EXPECT_EQ(store.LineList(), QList<QByteArray>({ "0577699840#1#01#Other" }));
    EXPECT_EQ(lines, loaded);
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(keys.at(i), EntryKey(lines.at(i))) << i;
}

// Whatever shortcut the comparison takes, it orders as a byte-by-byte
// comparison with A-Z taken as a-z does.
TEST(EntryLine, ComparisonMatchesTheByteByByteRule)
{
    auto reference = [](const QByteArray& a, const QByteArray& b) {
        const QByteArray x = a.toLower(), y = b.toLower(); // the alphabet below has ASCII letters only
        return x == y ? 0 : (x < y ? -1 : 1);
    };
    const char alphabet[] = "aAzZ#09-[`_";
    QRandomGenerator random(12);
    auto text = [&] {
        QByteArray t;
        for (int n = random.bounded(24); n > 0; --n)
            t += alphabet[random.bounded(int(sizeof alphabet) - 1)];
        return t;
    };
    for (int round = 0; round < 4000; ++round) {
        const QByteArray a = text();
        // Often a copy with one change, so long equal beginnings are common.
        QByteArray b = a;
        if (round % 2 == 0 && !b.isEmpty())
            b[random.bounded(int(b.size()))] = alphabet[random.bounded(int(sizeof alphabet) - 1)];
        else
            b = text();
        EXPECT_EQ(compareText(a, b), reference(a, b)) << a.constData() << " " << b.constData();
    }
}

TEST(PlannerFile, LoadSkipsOnlyAnUnchangedFileIntoAnUnchangedStore)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bob.tpl"));
    PlanStore store;
    store.assign({ "0577699840#1#01#a" });
    store.save(path);
    EXPECT_TRUE(store.mirrors(path));

    // Another writer, in place, with the same size: seen by the modification
    // time, which may not have moved on since the save unless set.
    const QDateTime saved = QFileInfo(path).lastModified();
    writeFile(path, "0577699840#1#01#b\r\n");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(saved.addSecs(2), QFileDevice::FileModificationTime));
    }
    EXPECT_FALSE(store.mirrors(path));
    ASSERT_TRUE(store.load(path));
    EXPECT_EQ(store.LineList().at(0), "0577699840#1#01#b");
    EXPECT_TRUE(store.mirrors(path));

    // A change in memory only: loading brings the file's lines back.
    store.toggleDone("0577699840#1#01#");
    EXPECT_FALSE(store.mirrors(path));
    ASSERT_TRUE(store.load(path));
    EXPECT_EQ(store.LineList().at(0), "0577699840#1#01#b");
    EXPECT_EQ(storedDays(store, 4, 12), std::vector<QDate>({ QDate(1997, 3, 15) }));
}

TEST(PlannerFile, AFailedWriteSaysWhichFileAndLeavesTheStore)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("plain")), "a file, not a folder");
    const QString path = dir.filePath(QStringLiteral("plain/bob.tpl"));
    PlanStore store;
    store.assign({ "0577699840#1#01#a" });
    try {
        store.save(path);
        FAIL() << "no error";
    } catch (const rtl::Exception& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot create file %1").arg(path));
    }
    EXPECT_EQ(store.size(), 1);
}

TEST(PlannerFile, ASaveNeverReplacesAFileTheStoreHasNotRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bob.tpl"));
    const QString unreadable = dir.filePath(QStringLiteral("eio.tpl"));
    writeFile(path, "0577699840#1#01#on disk\r\n");
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), unreadable));
    PlanStore store;
    store.assign({ "0577699840#1#02#in memory" });
    EXPECT_THROW(store.save(path), rtl::EFOpenError);
    EXPECT_EQ(readFile(path), "0577699840#1#01#on disk\r\n");

    // Once read, the file takes what the store holds.
    ASSERT_TRUE(store.load(path));
    store.toggleDone("0577699840#1#01#");
    store.save(path);
    EXPECT_EQ(readFile(path), "0577699840#1#01#on disk#\r\n");

    // A load that fails takes that right away again, for the file it failed on.
    EXPECT_THROW(store.load(unreadable), rtl::EInOutError);
    EXPECT_EQ(store.size(), 1);
    EXPECT_THROW(store.save(unreadable), rtl::EFOpenError);
    EXPECT_EQ(QFileInfo(unreadable).symLinkTarget(), QStringLiteral("/proc/self/mem"));
}

TEST(StoredDays, SkipsDamagedLinesAndListsDaysInDateOrder)
{
    // Sorted as text, days from 2044 (negative stamps) come first.
    const QByteArray data = makeKey(packDate(QDate(2045, 2, 1)), 1, 1) + "far\r\n"
        + makeKey(packDate(QDate(1999, 3, 15)), 2, 5) + "past\r\n" + makeKey(packDate(QDate(1999, 3, 15)), 3, 5)
        + "past again\r\n" + "0000000000#1#01#stamp zero\r\n" + "0577699840#x#01#bad column\r\n"
        + "0577699840#1#13#bad row\r\n" + "0577699840#1#01\r\n" + "nothing\r\n"
        + makeKey(packDate(QDate(2026, 12, 7)), 4, 12) + "now\r\n";
    EXPECT_EQ(
        storedDays(data, 4, 12), std::vector<QDate>({ QDate(1999, 3, 15), QDate(2026, 12, 7), QDate(2045, 2, 1) }));
    EXPECT_EQ(linesOfDay(data, QDate(1999, 3, 15), 4, 12),
        QList<QByteArray>({ makeKey(packDate(QDate(1999, 3, 15)), 2, 5) + "past",
            makeKey(packDate(QDate(1999, 3, 15)), 3, 5) + "past again" }));
    EXPECT_TRUE(linesOfDay(data, QDate(1997, 3, 15), 4, 12).isEmpty());
}

TEST(StoredDays, AStoreLooksAtEachStampOnceAndFindsWhatEveryLineWouldTell)
{
    // Days of many lengths, some stamps written other ways (the same day in
    // hex of either case, with a time part, without leading zeros), and damage.
    const QList<QDate> days { QDate(1999, 3, 15), QDate(2026, 12, 7), QDate(2026, 12, 8), QDate(2045, 2, 1) };
    QRandomGenerator random(11);
    QList<QByteArray> lines { "no hash", "#", "0577699840#1#", "0577699840#x#01#bad column" };
    for (int n = 0; n < 600; ++n) {
        const QDate day = days.at(random.bounded(days.size()));
        const qint32 stamp = packDate(day);
        const QByteArray text = "e" + QByteArray::number(n);
        const int c = 1 + random.bounded(5), r = 1 + random.bounded(13);
        switch (random.bounded(8)) {
        case 0:
            lines.append("$" + QByteArray::number(quint32(stamp), 16).toUpper() + "#1#01#" + text);
            break;
        case 1:
            lines.append("$" + QByteArray::number(quint32(stamp), 16) + "#2#02#" + text);
            break;
        case 2:
            lines.append(QByteArray::number(stamp + 1234) + "#3#03#" + text);
            break;
        default:
            lines.append(makeKey(stamp, c, r) + text);
        }
    }
    PlanStore store;
    store.assign(lines);
    const QByteArray content = rtl::joinCrLf(store.LineList());
    EXPECT_EQ(storedDays(store, 4, 12), storedDays(content, 4, 12));
    EXPECT_EQ(storedDays(store, 4, 12), std::vector<QDate>(days.cbegin(), days.cend()));
    for (const QDate& day : days + QList<QDate> { QDate(1997, 3, 15), QDate() })
        EXPECT_EQ(linesOfDay(store, day, 4, 12), linesOfDay(content, day, 4, 12)) << day.toString().toStdString();
}

TEST(UserName, RefusesNamesThatCannotBeAFileNameOrAKeyOfTheirOwn)
{
    for (const QString& good : { QStringLiteral("alice"), QStringLiteral("Bob Smith"), QStringLiteral("o'neil#2"),
             QString::fromUtf8("Zoë"), QString(251, u'x') })
        EXPECT_TRUE(userNameProblem(good).isEmpty()) << good.toStdString();
    for (const QString& bad :
        { QString(), QStringLiteral(" bob"), QStringLiteral("bob "), QStringLiteral("a/b"), QStringLiteral("a\\b"),
            QStringLiteral("a=b"), QStringLiteral("a\tb"), QStringLiteral("a\nb"), QStringLiteral("."),
            QStringLiteral(".."), QStringLiteral("[Pass]"), QStringLiteral(";x"), QString(252, u'x') })
        EXPECT_FALSE(userNameProblem(bad).isEmpty()) << bad.toStdString();
}

TEST(UserFile, EveryStoredPasswordReadsBackExactly)
{
    QTemporaryDir dir;
    platform::ProfileFile users(dir.filePath(QStringLiteral("Zure003.usr")));
    const QStringList passwords = { QStringLiteral("plain"), QString(), QStringLiteral(" lead"),
        QStringLiteral("trail "), QStringLiteral("\"quoted\""), QStringLiteral("'q'"), QStringLiteral("%952$+~") };
    for (qsizetype i = 0; i < passwords.size(); ++i)
        users.writeString(QStringLiteral("Pass"), QStringLiteral("u%1").arg(i), storedPassword(passwords.at(i)));
    for (qsizetype i = 0; i < passwords.size(); ++i)
        EXPECT_EQ(users.readString(QStringLiteral("Pass"), QStringLiteral("u%1").arg(i), QStringLiteral("?")),
            passwords.at(i))
            << i;
}
