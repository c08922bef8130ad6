// Line-oriented text on raw bytes: the reader's line-end rules, for a whole
// text or one handed over piece by piece, the writer's line ends, and lines
// that end at any of CR LF, CR or LF.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <algorithm>
#include <cstring>

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
constexpr qsizetype maxTextLineLength = qsizetype(64) * 1024;

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

// Calls `visit` with every line of `data`, a view into it: a line ends at
// CR LF, at CR or at LF, and a last line without an end counts too.
template <class Visit> void forEachLine(const QByteArray& data, Visit&& visit)
{
    const char* p = data.constData();
    const char* const end = p + data.size();
    auto next = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, size_t(end - from));
        return found ? static_cast<const char*>(found) : end;
    };
    const char* cr = next(p, '\r');
    const char* lf = next(p, '\n');
    while (p < end) {
        const char* eol = std::min(cr, lf);
        visit(QByteArrayView(p, eol - p));
        if (eol == end)
            break;
        p = eol + (eol == cr && eol + 1 < end && eol[1] == '\n' ? 2 : 1);
        if (cr < p)
            cr = next(p, '\r');
        if (lf < p)
            lf = next(p, '\n');
    }
}

} // namespace rtl
