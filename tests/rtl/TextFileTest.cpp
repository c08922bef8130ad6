// Text line rules and the classic I/O error texts.
#include "rtl/TextFile.h"

#include "rtl/Errors.h"

#include <cerrno>
#include <gtest/gtest.h>

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

TEST(TextLineCollector, GivesTheReadersLinesHoweverTheTextComesInPieces)
{
    const QByteArray texts[] = { "a\r\nb\nc\r\r\nd", "x\r\r\ny\r\n",
        "a\r\nb\x1a" // NOLINT(bugprone-suspicious-missing-comma): split to end the \x escape
        "c\r\nd\r\n",
        "last", "" };
    for (const QByteArray& text : texts) {
        for (int count : { 1, 3, 6 }) {
            const QList<QByteArray> expected = readAll(text, count);
            // Cut once at every place, and byte by byte.
            for (qsizetype cut = 0; cut <= text.size(); ++cut) {
                rtl::TextLineCollector collector(count);
                if (collector.take(QByteArrayView(text).first(cut)))
                    collector.take(QByteArrayView(text).sliced(cut));
                EXPECT_EQ(std::move(collector).lines(), expected) << text.toStdString() << " cut at " << cut;
            }
            rtl::TextLineCollector bytes(count);
            for (qsizetype i = 0; i < text.size() && bytes.take(QByteArrayView(text).sliced(i, 1)); ++i) { }
            EXPECT_EQ(std::move(bytes).lines(), expected) << text.toStdString();
        }
    }
    rtl::TextLineCollector two(2);
    EXPECT_TRUE(two.take("a\r\n"));
    EXPECT_FALSE(two.take("b\r\nc")) << "wants more after its last line";
}

TEST(InOutError, ShowsClassicTextsOnlyForNumbersThatHaveOne)
{
    struct Case {
        int err;
        const char* message;
    };
    const Case cases[] = {
        { EACCES, "File access denied" },
        { EROFS, "File access denied" },
        { ENOSPC, "Disk full" },
        { ENOENT, "I/O error 2" },
        { EIO, "I/O error 5" }, // a hardware read error is no access denial
        { ELOOP, "I/O error 40" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(rtl::EInOutError::fromErrno(c.err).message(), QString::fromLatin1(c.message)) << c.err;
}

} // namespace
