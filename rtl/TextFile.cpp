// Text line rules.
#include "rtl/TextFile.h"

#include "rtl/Errors.h"

#include <utility>

namespace rtl {

TextReader::TextReader(QByteArray data)
    : data_(std::move(data))
{
    const qsizetype ctrlZ = data_.indexOf(char(26));
    end_ = ctrlZ < 0 ? data_.size() : ctrlZ;
}

QByteArray TextReader::readLine()
{
    if (pos_ >= end_)
        return {};
    qsizetype cr = data_.indexOf('\r', pos_);
    if (cr < 0 || cr > end_)
        cr = end_;
    QByteArray line = data_.mid(pos_, cr - pos_);
    pos_ = cr;
    if (pos_ < end_) {
        ++pos_; // the CR
        if (pos_ < end_ && data_[pos_] == '\n')
            ++pos_;
    }
    return line;
}

TextLineCollector::TextLineCollector(int count)
    : count_(count)
{
    lines_.reserve(count);
}

bool TextLineCollector::take(QByteArrayView piece)
{
    for (qsizetype i = 0; i < piece.size() && !ended_ && lines_.size() < count_; ++i) {
        const char c = piece[i];
        if (std::exchange(skipLf_, false) && c == '\n')
            continue;
        if (c == char(26)) {
            ended_ = true;
        } else if (c == '\r') {
            lines_.append(std::exchange(line_, {}));
            skipLf_ = true;
        } else {
            if (line_.size() >= maxTextLineLength)
                raiseInOut(ioReadError);
            line_.append(c);
        }
    }
    return !ended_ && lines_.size() < count_;
}

QList<QByteArray> TextLineCollector::lines() &&
{
    if (!line_.isEmpty() && lines_.size() < count_)
        lines_.append(std::move(line_));
    while (lines_.size() < count_)
        lines_.append(QByteArray());
    return std::move(lines_);
}

QByteArray joinCrLf(const QList<QByteArray>& lines)
{
    qsizetype size = 0;
    for (const QByteArray& line : lines)
        size += line.size() + 2;
    QByteArray data;
    data.reserve(size);
    for (const QByteArray& line : lines) {
        data.append(line);
        data.append("\r\n", 2);
    }
    return data;
}

} // namespace rtl
