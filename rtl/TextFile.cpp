// Text file reading and atomic writing.
#include "rtl/TextFile.h"

#include "rtl/Errors.h"

#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

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

QByteArray readWholeFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        raiseInOutFromErrno(errno);
    QByteArray data;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            raiseInOutFromErrno(err);
        }
        if (got == 0)
            break;
        data.append(buffer, got);
    }
    ::close(fd);
    return data;
}

QList<QByteArray> readTextLines(const QString& path, int count)
{
    TextReader reader(readWholeFile(path));
    QList<QByteArray> lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.append(reader.readLine());
    return lines;
}

QList<QByteArray> readAllTextLines(const QString& path)
{
    TextReader reader(readWholeFile(path));
    QList<QByteArray> lines;
    while (!reader.atEnd())
        lines.append(reader.readLine());
    return lines;
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

// A write past the process's file-size limit must fail with EFBIG rather
// than end the process.
static void ignoreFileSizeSignal()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

static QString writeTarget(const QString& path)
{
    QFileInfo info(path);
    if (info.isSymLink()) {
        QString target = info.symLinkTarget();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

static bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size_t(size));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += done;
        size -= done;
    }
    return true;
}

void replaceFileAtomically(const QString& path, const QByteArray& data, mode_t newFileMode)
{
    ignoreFileSizeSignal();
    const QString target = writeTarget(path);
    const QFileInfo info(target);
    QByteArray tempName
        = QFile::encodeName(info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1String(".XXXXXX"));
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        raiseInOutFromErrno(errno);

    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tempName.constData());
        raiseInOutFromErrno(err);
    };

    struct stat old { };
    const QByteArray nativeTarget = QFile::encodeName(target);
    if (::stat(nativeTarget.constData(), &old) == 0) {
        if (S_ISDIR(old.st_mode))
            fail(EISDIR);
        ::fchmod(fd, old.st_mode & 07777);
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Another owner cannot be kept by an ordinary user; the file stays ours.
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, newFileMode & ~mask);
    }
    if (!writeAll(fd, data.constData(), data.size()))
        fail(errno);
    if (::fsync(fd) != 0 && errno != EINVAL)
        fail(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tempName.constData());
        raiseInOutFromErrno(err);
    }
    if (::rename(tempName.constData(), nativeTarget.constData()) != 0) {
        const int err = errno;
        ::unlink(tempName.constData());
        raiseInOutFromErrno(err);
    }
}

} // namespace rtl
