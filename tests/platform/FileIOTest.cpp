// Reading regular files and the atomic writer.
#include "platform/FileIO.h"

#include "rtl/Errors.h"
#include "rtl/TextFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

// Files this process writes may grow to `bytes` while it lives.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_ {};
};

TEST(TextFile, RoundTripKeepsEveryByteOfEveryLine)
{
    QTemporaryDir dir;
    QList<QByteArray> lines;
    lines.append(QByteArray("\xff\xfe latin-1 \xe9 and \xc3\xa9 utf-8\t\x01", 24));
    lines.append("plain");
    lines.append("");
    lines.append(QByteArray("nul\0inside", 10));
    const QString path = dir.filePath("menu.ini");
    platform::replaceFileAtomically(path, rtl::joinCrLf(lines));
    EXPECT_EQ(platform::readTextLines(path, 4), lines);
    EXPECT_EQ(readFile(path), rtl::joinCrLf(lines));
}

TEST(TextFile, ReadingAMissingFileRaisesTheInOutError)
{
    try {
        platform::readTextLines(QStringLiteral("/nonexistent/x.ini"), 3);
        FAIL();
    } catch (const rtl::EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, 2);
        EXPECT_EQ(error.message(), "I/O error 2");
    }
}

TEST(TextFile, ReadingStopsAfterTheLastLineAskedForAndRefusesOverlongLines)
{
    QTemporaryDir dir;
    QList<QByteArray> lines;
    for (int i = 1; i <= 453; ++i)
        lines.append("line " + QByteArray::number(i));
    // After the lines asked for, a 3 GB hole: reading it would take 3 GB of memory.
    const QString huge = dir.filePath("huge.ini");
    writeFile(huge, rtl::joinCrLf(lines));
    ASSERT_EQ(::truncate(QFile::encodeName(huge).constData(), 3LL << 30), 0);
    rusage before {};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(platform::readTextLines(huge, 453), lines);
    rusage after {};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes more at the peak";

    // The longest line taken, and one byte more.
    const QByteArray longest(rtl::maxTextLineLength, 'x');
    writeFile(dir.filePath("longest.ini"), "a\r\n" + longest + "\r\nb");
    EXPECT_EQ(platform::readTextLines(dir.filePath("longest.ini"), 3), (QList<QByteArray> { "a", longest, "b" }));
    writeFile(dir.filePath("over.ini"), "a\r\n" + longest + "x\r\nb");
    try {
        platform::readTextLines(dir.filePath("over.ini"), 3);
        ADD_FAILURE() << "an overlong line was read";
    } catch (const rtl::EInOutError& error) {
        EXPECT_EQ(error.message(), "I/O error 100");
    }
}

TEST(AtomicWriter, FailureLeavesTheOldFileWholeAndNoTemporaryBehind)
{
    QTemporaryDir dir;
    // A parent path that is a regular file cannot hold anything.
    writeFile(dir.filePath("plain"), "x");
    EXPECT_THROW(platform::replaceFileAtomically(dir.filePath("plain/menu.ini"), "data"), rtl::EInOutError);

    // A file-size limit makes the write run out of space.
    const QString target = dir.filePath("menu.ini");
    const QByteArray old(5000, 'o');
    writeFile(target, old);
    {
        const FileSizeLimit limit(1000);
        try {
            platform::replaceFileAtomically(target, QByteArray(4000, 'n'));
            ADD_FAILURE() << "write past the limit succeeded";
        } catch (const rtl::EInOutError& error) {
            EXPECT_EQ(error.message(), "Disk full");
        }
    }
    EXPECT_EQ(readFile(target), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "temporary file left behind";
}

TEST(AtomicWriter, ContentHandedOverInPiecesArrivesWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("planner.tpl");
    const auto temporariesLeft = [&dir] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() - 1; };
    // Pieces below, at and above the writer's own buffer.
    QByteArray whole;
    platform::replaceFileAtomically(target, [&whole](platform::ContentWriter& out) {
        char fill = 'a';
        for (const qsizetype size : { 1, 65535, 65536, 70000, 3, 200000, 2 }) {
            const QByteArray piece(size, fill++);
            out.put(piece);
            whole += piece;
        }
    });
    EXPECT_EQ(readFile(target), whole);

    // What the producer raises passes on, and the file stays as it was.
    EXPECT_THROW(platform::replaceFileAtomically(target,
                     [](platform::ContentWriter& out) {
                         out.put(QByteArray(100000, 'x'));
                         throw std::runtime_error("stopped");
                     }),
        std::runtime_error);
    EXPECT_EQ(readFile(target), whole);
    EXPECT_EQ(temporariesLeft(), 0);

    // A write that fails part of the way: many small pieces past a file-size limit.
    {
        const FileSizeLimit limit(100000);
        try {
            platform::replaceFileAtomically(target, [](platform::ContentWriter& out) {
                for (int i = 0; i < 20000; ++i)
                    out.put("0577699840#1#01#entry\r\n");
            });
            ADD_FAILURE() << "write past the limit succeeded";
        } catch (const rtl::EInOutError& error) {
            EXPECT_EQ(error.message(), "Disk full");
        }
    }
    EXPECT_EQ(readFile(target), whole);
    EXPECT_EQ(temporariesLeft(), 0);
}

TEST(AtomicWriter, KeepsPermissionsAndWritesThroughSymbolicLinks)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.ini");
    writeFile(real, "old");
    ASSERT_EQ(chmod(QFile::encodeName(real).constData(), 0640), 0);
    const QString link = dir.filePath("link.ini");
    ASSERT_TRUE(QFile::link(real, link));

    platform::replaceFileAtomically(link, "new");

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(real), "new");
    struct stat st { };
    ASSERT_EQ(stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const QString fresh = dir.filePath("fresh.ini");
    platform::replaceFileAtomically(fresh, "x", 0600);
    ASSERT_EQ(stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u);
}

TEST(AtomicWriter, WritesThroughAWholeChainOfLinksAndANameTooLongForTheUsualTemporary)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("real.ini"), "old");
    ASSERT_TRUE(QFile::link(dir.filePath("real.ini"), dir.filePath("b.ini")));
    ASSERT_TRUE(QFile::link(QStringLiteral("b.ini"), dir.filePath("a.ini"))); // relative to its folder
    ASSERT_TRUE(QFile::link(dir.filePath("new.ini"), dir.filePath("dangling.ini")));

    platform::replaceFileAtomically(dir.filePath("a.ini"), "through a");
    platform::replaceFileAtomically(dir.filePath("dangling.ini"), "through dangling");
    EXPECT_EQ(readFile(dir.filePath("real.ini")), "through a");
    EXPECT_TRUE(QFileInfo(dir.filePath("a.ini")).isSymLink());
    EXPECT_TRUE(QFileInfo(dir.filePath("b.ini")).isSymLink());
    EXPECT_EQ(readFile(dir.filePath("new.ini")), "through dangling");
    EXPECT_TRUE(QFileInfo(dir.filePath("dangling.ini")).isSymLink());

    const QString longest = dir.filePath(QString(251, u'm') + ".ini");
    platform::replaceFileAtomically(longest, "long name");
    platform::replaceFileAtomically(longest, "long name again");
    EXPECT_EQ(readFile(longest), "long name again");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 6);
}

TEST(AtomicWriter, RefusesAFileTheUserMayNotWriteInAFolderTheUserMay)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving files to other users needs root";
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    struct Case {
        const char* name;
        uid_t owner;
        mode_t mode;
    };
    const Case cases[] = {
        { "read-only.ini", 65534, 0444 }, // the user's own, write-protected
        { "others.ini", 0, 0644 }, // another user's
        { "others-open.ini", 0, 0666 }, // another user's, which could be written but not replaced as theirs
    };
    for (const Case& c : cases) {
        writeFile(dir.filePath(c.name), "old");
        const QByteArray native = QFile::encodeName(dir.filePath(c.name));
        ASSERT_EQ(::chown(native.constData(), c.owner, c.owner), 0);
        ASSERT_EQ(::chmod(native.constData(), c.mode), 0);
    }
    const auto result = testing_support::runAsUnprivileged([&] {
        bool allRefused = true;
        for (const Case& c : cases) {
            try {
                platform::replaceFileAtomically(dir.filePath(c.name), "new");
                allRefused = false;
            } catch (const rtl::EInOutError& error) {
                allRefused = allRefused && error.message() == "File access denied";
            }
        }
        return allRefused;
    });
    if (result == testing_support::ChildResult::CannotDropPrivileges)
        GTEST_SKIP() << "cannot run a child as an unprivileged user";
    EXPECT_EQ(result, testing_support::ChildResult::Passed);
    for (const Case& c : cases) {
        EXPECT_EQ(readFile(dir.filePath(c.name)), "old") << c.name;
        struct stat st { };
        ASSERT_EQ(::stat(QFile::encodeName(dir.filePath(c.name)).constData(), &st), 0);
        EXPECT_EQ(st.st_uid, c.owner) << c.name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3);
}

} // namespace
