// Line-oriented text on raw bytes: the reader's line-end rules, for a whole
// text or one handed over piece by piece, and the writer's line ends.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

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

// The longest line a TextLineCollector takes.
constexpr qsizetype maxTextLineLength = 64 * 1024;

// Collects the first `count` lines of a text handed over piece by piece, by
// the TextReader rules, so that nothing after them needs to be read.
class TextLineCollector final {
public:
    explicit TextLineCollector(int count);
    // Takes the next piece of the text; false once no more is wanted (the
    // count-th line has ended, or Ctrl-Z came). Raises EInOutError when a
    // line is longer than maxTextLineLength.
    bool take(QByteArrayView piece);
    // The lines, padded with empty lines to exactly `count`.
    QList<QByteArray> lines() &&;

private:
    int count_;
    QList<QByteArray> lines_;
    QByteArray line_;
    bool skipLf_ = false; // the line before ended at a CR
    bool ended_ = false; // Ctrl-Z came
};

// Each line followed by CR LF.
QByteArray joinCrLf(const QList<QByteArray>& lines);

} // namespace rtl
