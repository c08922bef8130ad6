// File contents on Linux.
#include "platform/FileIO.h"

#include "rtl/Errors.h"
#include "rtl/TextFile.h"

#include <QByteArrayView>
#include <QFile>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A descriptor open for reading, closed when it goes.
class ReadDescriptor final {
public:
    explicit ReadDescriptor(int fd)
        : fd_(fd)
    {
    }
    ~ReadDescriptor() { ::close(fd_); }
    ReadDescriptor(const ReadDescriptor&) = delete;
    ReadDescriptor& operator=(const ReadDescriptor&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Opens `path` for reading, refusing anything but a regular file (a pipe
// would wait for a writer for good, a device may never end).
int openRegularFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        rtl::raiseInOutFromErrno(errno);
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
        ::close(fd);
        rtl::raiseInOutFromErrno(err);
    }
    return fd;
}

// Hands the content of a regular file to `take` piece by piece until the
// file ends or `take` wants no more.
template <class Take> void readRegularFile(const QString& path, Take&& take)
{
    const ReadDescriptor file(openRegularFile(path));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            rtl::raiseInOutFromErrno(errno);
        if (got == 0 || !take(QByteArrayView(buffer, got)))
            return;
    }
}

} // namespace

QByteArray readWholeFile(const QString& path)
{
    QByteArray data;
    readRegularFile(path, [&data](QByteArrayView piece) {
        data.append(piece);
        return true;
    });
    return data;
}

std::optional<QByteArray> readSmallFile(const QString& path, qsizetype limit)
{
    QByteArray data;
    try {
        readRegularFile(path, [&data, limit](QByteArrayView piece) {
            data.append(piece);
            return data.size() <= limit;
        });
    } catch (const rtl::EInOutError&) {
        return std::nullopt;
    }
    if (data.size() > limit)
        return std::nullopt;
    return data;
}

QList<QByteArray> readTextLines(const QString& path, int count)
{
    rtl::TextLineCollector collector(count);
    readRegularFile(path, [&collector](QByteArrayView piece) { return collector.take(piece); });
    return std::move(collector).lines();
}

QList<QByteArray> readAllTextLines(const QString& path)
{
    rtl::TextReader reader(readWholeFile(path));
    QList<QByteArray> lines;
    while (!reader.atEnd())
        lines.append(reader.readLine());
    return lines;
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
            rtl::raiseInOutFromErrno(length < 0 ? errno : ENAMETOOLONG);
        link.truncate(length);
        if (!link.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            link.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = link;
    }
    rtl::raiseInOutFromErrno(ELOOP);
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
        rtl::raiseInOutFromErrno(EISDIR);
    if (!S_ISREG(old.st_mode))
        rtl::raiseInOutFromErrno(EACCES);
    const int probe = ::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (probe < 0)
        rtl::raiseInOutFromErrno(errno);
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

void ContentWriter::flush()
{
    if (error_ == 0 && !writeAll(fd_, buffer_, used_))
        error_ = errno;
    used_ = 0;
}

void ContentWriter::putLarge(QByteArrayView bytes)
{
    flush();
    if (bytes.size() < Capacity) {
        std::memcpy(buffer_, bytes.data(), size_t(bytes.size()));
        used_ = bytes.size();
    } else if (error_ == 0 && !writeAll(fd_, bytes.data(), bytes.size())) {
        error_ = errno;
    }
}

void replaceFileAtomically(const QString& path, const QByteArray& data, FileMode newFileMode)
{
    replaceFileAtomically(
        path, [&data](ContentWriter& out) { out.put(data); }, newFileMode);
}

void replaceFileAtomically(const QString& path, const std::function<void(ContentWriter&)>& write, FileMode newFileMode)
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
        rtl::raiseInOutFromErrno(errno);

    // Takes the temporary file away again and raises `err`.
    auto discard = [&tempName](int err) {
        ::unlink(tempName.constData());
        rtl::raiseInOutFromErrno(err);
    };
    auto fail = [&](int err) {
        ::close(fd);
        discard(err);
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
        ::fchmod(fd, mode_t(newFileMode) & ~mask);
    }
    {
        // Large: kept off the stack.
        const auto out = std::unique_ptr<ContentWriter>(new ContentWriter(fd));
        try {
            write(*out);
        } catch (...) {
            ::close(fd);
            ::unlink(tempName.constData());
            throw;
        }
        out->flush();
        if (out->error_ != 0)
            fail(out->error_);
    }
    if (::fsync(fd) != 0 && errno != EINVAL)
        fail(errno);
    if (::close(fd) != 0)
        discard(errno);
    if (::rename(tempName.constData(), nativeTarget.constData()) != 0)
        discard(errno);
}

std::optional<FileIdentity> regularFileIdentity(const QString& path)
{
    struct stat st { };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileIdentity { quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
        qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
        qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec };
}

} // namespace platform
