// The menu reader and the conversions the launcher applies to what it read:
// the file reader must agree with the in-memory line rules, and no line
// may make the conversions misbehave.
#include "FuzzSupport.h"
#include "platform/FileIO.h"
#include "platform/SystemColors.h"
#include "rtl/Errors.h"
#include "rtl/IntConv.h"
#include "rtl/TextFile.h"

#include <QList>

namespace {

constexpr int lineCount = 453;

int gadgetLine(int n, int field) { return 8 * n - 6 + field; }

// What the launcher does with one menu, in its order: a conversion that
// fails ends the rest, as the error would end the apply.
void applyConversions(const QList<QByteArray>& lines)
{
    auto line = [&lines](int i) -> const QByteArray& { return lines.at(i - 1); };
    try {
        for (int c = 1; c <= 4; ++c)
            (void)QString::fromLocal8Bit(line(449 + c));
        for (int n = 1; n <= 56; ++n) {
            (void)QString::fromLocal8Bit(line(gadgetLine(n, 2)));
            (void)platform::ColorToRGB(rtl::StrToInt(line(gadgetLine(n, 3))));
            (void)QString::fromLocal8Bit(line(gadgetLine(n, 4))).left(31);
            (void)platform::ColorToRGB(rtl::StrToInt(line(gadgetLine(n, 5))));
        }
        for (int n = 1; n <= 56; ++n) {
            const qint32 side = rtl::StrToInt(line(gadgetLine(n, 7)));
            if (side == 0 || side == 1)
                (void)QString::fromLocal8Bit(line(gadgetLine(n, 6)));
        }
    } catch (const rtl::EConvertError& error) {
        fuzz::check(error.message().endsWith(QStringLiteral("' is not a valid integer value")), "conversion message");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const fuzz::MemoryFile file(input);
    QList<QByteArray> lines;
    try {
        lines = platform::readTextLines(file.path(), lineCount);
    } catch (const rtl::EInOutError& error) {
        fuzz::check(error.ErrorCode == rtl::ioReadError, "only an overlong line fails");
        // The reader refuses only a line longer than it takes, among the lines it reads.
        rtl::TextReader reader(input);
        bool overlong = false;
        for (int i = 0; i < lineCount && !overlong; ++i)
            overlong = reader.readLine().size() > rtl::maxTextLineLength;
        fuzz::check(overlong, "refused without an overlong line");
        return 0;
    }
    fuzz::check(lines.size() == lineCount, "exactly 453 lines");
    rtl::TextReader reader(input);
    for (int i = 0; i < lineCount; ++i)
        fuzz::check(lines.at(i) == reader.readLine(), "file and memory readers agree");
    // What is written back reads back the same.
    rtl::TextReader again(rtl::joinCrLf(lines));
    for (int i = 0; i < lineCount; ++i)
        fuzz::check(lines.at(i) == again.readLine(), "a written menu reads back");
    applyConversions(lines);
    return 0;
}
