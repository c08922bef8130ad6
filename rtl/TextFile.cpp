// Text file reading and atomic writing.
#include "rtl/TextFile.h"

#include "rtl/Errors.h"

#include <QFile>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
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

namespace {

// Opens `path` for reading, refusing anything but a regular file (a pipe
// would wait for a writer for good, a device may never end).
int openRegularFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        raiseInOutFromErrno(errno);
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
        ::close(fd);
        raiseInOutFromErrno(err);
    }
    return fd;
}

// Reads up to `size` bytes; 0 at the end of the file. Raises the I/O error
// (closing `fd`) when the read fails.
qsizetype readSome(int fd, char* buffer, size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0)
            return got;
        if (errno == EINTR)
            continue;
        const int err = errno;
        ::close(fd);
        raiseInOutFromErrno(err);
    }
}

} // namespace

QByteArray readWholeFile(const QString& path)
{
    const int fd = openRegularFile(path);
    QByteArray data;
    char buffer[65536];
    while (const qsizetype got = readSome(fd, buffer, sizeof buffer))
        data.append(buffer, got);
    ::close(fd);
    return data;
}

QList<QByteArray> readTextLines(const QString& path, int count)
{
    const int fd = openRegularFile(path);
    QList<QByteArray> lines;
    lines.reserve(count);
    QByteArray line;
    bool skipLf = false; // the line before ended at a CR
    bool ended = false; // Ctrl-Z or the end of the file
    char buffer[65536];
    while (!ended && lines.size() < count) {
        const qsizetype got = readSome(fd, buffer, sizeof buffer);
        ended = got == 0;
        for (qsizetype i = 0; i < got && lines.size() < count; ++i) {
            const char c = buffer[i];
            if (std::exchange(skipLf, false) && c == '\n')
                continue;
            if (c == char(26)) {
                ended = true;
                break;
            }
            if (c == '\r') {
                lines.append(std::exchange(line, {}));
                skipLf = true;
                continue;
            }
            if (line.size() >= maxTextLineLength) {
                ::close(fd);
                raiseInOut(ioReadError);
            }
            line.append(c);
        }
    }
    ::close(fd);
    if (!line.isEmpty() && lines.size() < count)
        lines.append(line);
    while (lines.size() < count)
        lines.append(QByteArray());
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

// The file a path finally names: symbolic links are followed to the end of
// their chain, also to a last link that names nothing yet.
static QByteArray writeTarget(QByteArray path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st { };
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (length < 0 || length >= link.size())
            raiseInOutFromErrno(length < 0 ? errno : ENAMETOOLONG);
        link.truncate(length);
        if (!link.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            link.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = link;
    }
    raiseInOutFromErrno(ELOOP);
}

// A temporary name beside `target` that fits a file name, however long the target's own.
static QByteArray temporaryNameFor(const QByteArray& target)
{
    constexpr qsizetype nameMax = 255;
    const QByteArray suffix = ".XXXXXX";
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(slash);
    const QByteArray name = target.mid(slash + 1).left(nameMax - 1 - suffix.size());
    return folder + "/." + name + suffix;
}

// Refuses to replace what the user may not write: a folder, anything but a
// regular file, or a file the user cannot open for writing (the folder's
// permission alone would let the rename through).
static void checkReplaceable(const QByteArray& target, const struct stat& old)
{
    if (S_ISDIR(old.st_mode))
        raiseInOutFromErrno(EISDIR);
    if (!S_ISREG(old.st_mode))
        raiseInOutFromErrno(EACCES);
    const int probe = ::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (probe < 0)
        raiseInOutFromErrno(errno);
    ::close(probe);
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
    const QByteArray nativeTarget = writeTarget(QFile::encodeName(path));
    struct stat old { };
    const bool exists = ::stat(nativeTarget.constData(), &old) == 0;
    if (exists)
        checkReplaceable(nativeTarget, old);
    QByteArray tempName = temporaryNameFor(nativeTarget);
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        raiseInOutFromErrno(errno);

    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tempName.constData());
        raiseInOutFromErrno(err);
    };

    if (exists) {
        // The file keeps its owner, or it is not replaced: another user's
        // file must not become ours, nor be shown to our group.
        struct stat made { };
        if (::fstat(fd, &made) != 0)
            fail(errno);
        if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
            fail(EACCES);
        ::fchmod(fd, old.st_mode & 07777);
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
