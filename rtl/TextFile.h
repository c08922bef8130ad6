// Line-oriented text files on raw bytes: the reader's line-end rules and a
// writer that replaces its target atomically.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <sys/types.h>

namespace rtl {

// Reads lines from bytes: a line ends at CR and an LF right after the CR is
// skipped; a lone LF is an ordinary character; Ctrl-Z (26) or the end of the
// data ends everything, and every line asked for afterwards is empty.
class TextReader final {
public:
    explicit TextReader(QByteArray data);
    QByteArray readLine();
    bool atEnd() const { return pos_ >= end_; }

private:
    QByteArray data_;
    qsizetype pos_ = 0;
    qsizetype end_ = 0;
};

// The whole content of a regular file; raises EInOutError when it cannot be
// read or is no regular file.
QByteArray readWholeFile(const QString& path);

// The longest line readTextLines takes.
constexpr qsizetype maxTextLineLength = 64 * 1024;

// Up to `count` lines of a regular file read by the TextReader rules, padded
// with empty lines to exactly `count`; reading stops after the count-th line
// end. Raises EInOutError when the file cannot be opened or read, or when a
// line is longer than maxTextLineLength.
QList<QByteArray> readTextLines(const QString& path, int count);

// Every line of a file read by the TextReader rules (stops at the end of the data).
QList<QByteArray> readAllTextLines(const QString& path);

// Each line followed by CR LF.
QByteArray joinCrLf(const QList<QByteArray>& lines);

// Replaces the file at `path` with `data`: the data goes to a temporary file
// beside the target, which is then renamed over it. A chain of symbolic links
// is written through to the file at its end; an existing file keeps its
// owner and permissions and is replaced only when the user may write it; a
// new one gets `newFileMode` (less the umask). On failure the temporary file
// is removed, the old file stays whole and EInOutError is raised ("File
// access denied" for a file the user may not write).
void replaceFileAtomically(const QString& path, const QByteArray& data, mode_t newFileMode = 0666);

} // namespace rtl
