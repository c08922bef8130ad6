// Text file reading rules and the atomic writer.
#include "rtl/TextFile.h"

#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

QList<QByteArray> readAll(const QByteArray& data, int count)
{
    rtl::TextReader reader(data);
    QList<QByteArray> lines;
    for (int i = 0; i < count; ++i)
        lines.append(reader.readLine());
    return lines;
}

TEST(TextReader, EndsLinesAtCrSkippingOneLfAndKeepsLoneLf)
{
    const QList<QByteArray> expected = { "a", "b\nc", "", "d", "", "" };
    EXPECT_EQ(readAll("a\r\nb\nc\r\r\nd", 6), expected);
    // A lone LF file is one long first line.
    EXPECT_EQ(readAll("one\ntwo\nthree\n", 3), (QList<QByteArray> { "one\ntwo\nthree\n", "", "" }));
    // CR CR LF: the first CR ends a line, the second ends an empty one, its LF is skipped.
    EXPECT_EQ(readAll("x\r\r\ny\r\n", 3), (QList<QByteArray> { "x", "", "y" }));
}

TEST(TextReader, CtrlZOrEndOfDataEndsEverything)
{
    EXPECT_EQ(readAll("a\r\nb\x1a"
                      "c\r\nd\r\n",
                  4),
        (QList<QByteArray> { "a", "b", "", "" }));
    EXPECT_EQ(readAll("", 2), (QList<QByteArray> { "", "" }));
    EXPECT_EQ(readAll("last", 2), (QList<QByteArray> { "last", "" }));
}

TEST(TextFile, RoundTripKeepsEveryByteOfEveryLine)
{
    QTemporaryDir dir;
    QList<QByteArray> lines;
    lines.append(QByteArray("\xff\xfe latin-1 \xe9 and \xc3\xa9 utf-8\t\x01", 24));
    lines.append("plain");
    lines.append("");
    lines.append(QByteArray("nul\0inside", 10));
    const QString path = dir.filePath("menu.ini");
    rtl::replaceFileAtomically(path, rtl::joinCrLf(lines));
    EXPECT_EQ(rtl::readTextLines(path, 4), lines);
    EXPECT_EQ(readFile(path), rtl::joinCrLf(lines));
}

TEST(TextFile, ReadingAMissingFileRaisesTheInOutError)
{
    try {
        rtl::readTextLines(QStringLiteral("/nonexistent/x.ini"), 3);
        FAIL();
    } catch (const rtl::EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, 2);
        EXPECT_EQ(error.message(), "I/O error 2");
    }
}

TEST(AtomicWriter, FailureLeavesTheOldFileWholeAndNoTemporaryBehind)
{
    QTemporaryDir dir;
    // A parent path that is a regular file cannot hold anything.
    writeFile(dir.filePath("plain"), "x");
    EXPECT_THROW(rtl::replaceFileAtomically(dir.filePath("plain/menu.ini"), "data"), rtl::EInOutError);

    // A file-size limit makes the write run out of space.
    const QString target = dir.filePath("menu.ini");
    const QByteArray old(5000, 'o');
    writeFile(target, old);
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    try {
        rtl::replaceFileAtomically(target, QByteArray(4000, 'n'));
        ADD_FAILURE() << "write past the limit succeeded";
    } catch (const rtl::EInOutError& error) {
        EXPECT_EQ(error.message(), "Disk full");
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(readFile(target), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "temporary file left behind";
}

TEST(AtomicWriter, KeepsPermissionsAndWritesThroughSymbolicLinks)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.ini");
    writeFile(real, "old");
    ASSERT_EQ(chmod(QFile::encodeName(real).constData(), 0640), 0);
    const QString link = dir.filePath("link.ini");
    ASSERT_TRUE(QFile::link(real, link));

    rtl::replaceFileAtomically(link, "new");

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(real), "new");
    struct stat st { };
    ASSERT_EQ(stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const QString fresh = dir.filePath("fresh.ini");
    rtl::replaceFileAtomically(fresh, "x", 0600);
    ASSERT_EQ(stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u);
}

} // namespace
