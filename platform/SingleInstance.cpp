// Single-instance lock and the come-forward channel on Linux.
#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

// A request is one short line; anything longer is not one of ours.
constexpr qint64 maxRequestLength = 256;

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

} // namespace

namespace {

// Whether `path` is a folder, not a link, owned by the user, that nobody
// else may write into.
bool isOwnFolder(const QByteArray& path, bool allowOthersToRead)
{
    struct stat st { };
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    return (st.st_mode & (allowOthersToRead ? 022 : 077)) == 0;
}

// A folder of the user's own at `path`: made 0700 when missing; an existing
// one is taken only when it is the user's own folder and not a link, and
// loses any access of others.
bool claimOwnFolder(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st { };
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return false;
    return isOwnFolder(native, false);
}

} // namespace

QString runtimeFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isOwnFolder(QFile::encodeName(runtime), true))
        return runtime;
    // Every start of the user must meet the same folder, or two could run.
    // Another user can take a name in the shared temporary folder and free it
    // again, so the folder is the one in the home folder, which nobody else
    // takes; a name in the temporary folder serves only a user without a
    // home to write in, and only when it proves to be the user's own.
    const QString uid = QString::number(::geteuid());
    const QString cache = QDir::homePath() + QStringLiteral("/.cache");
    ::mkdir(QFile::encodeName(cache).constData(), 0700);
    QString inHome = cache + QStringLiteral("/kavro-") + uid + u'-' + QSysInfo::machineHostName();
    if (claimOwnFolder(inHome))
        return inHome;
    QString inTemp = QDir::tempPath() + QStringLiteral("/kavro-") + uid;
    if (claimOwnFolder(inTemp))
        return inTemp;
    return {};
}

QString userScopedName(const QString& name) { return name + u'-' + QString::number(::geteuid()); }

InstanceLock::InstanceLock(QString path)
    : path_(std::move(path))
{
    const QByteArray file = QFile::encodeName(path_);
    // A holder that ends removes the file while it holds the lock; a file
    // opened just before that removal is not the lock any more, so a lock
    // taken on it is dropped and the file at the path is tried again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        struct stat opened { };
        // In a shared temporary folder the name may have been taken by
        // someone else: such a file is not used.
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_uid != ::geteuid()) {
            ::close(fd);
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                state_ = State::HeldElsewhere;
            return;
        }
        struct stat current { };
        if (::stat(file.constData(), &current) == 0 && sameFile(opened, current)) {
            fd_ = fd;
            state_ = State::Held;
            return;
        }
        ::close(fd);
    }
}

InstanceLock::~InstanceLock()
{
    if (fd_ < 0)
        return;
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
}

namespace {

bool socketAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray native = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (native.isEmpty() || size_t(native.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    return true;
}

// Whether the process at the other end of a connected socket runs as this
// user: as the caller for the first copy, as the listener for a later one.
bool peerIsThisUser(int fd)
{
    ucred peer {};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && length == sizeof peer
        && peer.uid == ::geteuid();
}

// Waits until `fd` is ready for `events` or the time is up.
bool waitFor(int fd, short events, QDeadlineTimer deadline)
{
    pollfd ready { fd, events, 0 };
    for (;;) {
        const int result = ::poll(&ready, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
        if (result > 0)
            return true;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

// One connection of a later copy: its bytes are gathered until it hangs up
// or a line is complete.
class ForwardServer::Connection final : public QObject {
public:
    Connection(int fd, ForwardServer* server)
        : QObject(server)
        , fd_(fd)
        , notifier_(fd, QSocketNotifier::Read, this)
    {
        connect(&notifier_, &QSocketNotifier::activated, this, [this, server] { read(server); });
    }
    ~Connection() override { ::close(fd_); }

    void read(ForwardServer* server)
    {
        char chunk[256];
        for (;;) {
            const ssize_t got = ::read(fd_, chunk, sizeof chunk);
            if (got > 0) {
                buffer_.append(chunk, got);
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            const bool open = got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
            deliverLines(server, !open);
            if (!open || buffer_.size() > maxRequestLength) {
                notifier_.setEnabled(false);
                deleteLater();
            }
            return;
        }
    }

private:
    void deliverLines(ForwardServer* server, bool hungUp)
    {
        qsizetype end;
        while ((end = buffer_.indexOf('\n')) >= 0) {
            QByteArray line = buffer_.left(end);
            buffer_.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            if (line.size() <= maxRequestLength)
                handOver(server, line);
        }
        // A sender may hang up right after its line: a last line without its end still counts.
        if (hungUp && !buffer_.isEmpty() && buffer_.size() <= maxRequestLength)
            handOver(server, std::exchange(buffer_, {}));
    }

    // The request is carried out, then acknowledged: the sender knows the
    // first copy is alive and ends.
    void handOver(ForwardServer* server, const QByteArray& line)
    {
        emit server->requestReceived(line);
        static constexpr char acknowledgement[] = "ok\n";
        if (::send(fd_, acknowledgement, sizeof acknowledgement - 1, MSG_NOSIGNAL | MSG_DONTWAIT) < 0) {
            // The sender is gone or does not wait for an answer.
        }
    }

    int fd_;
    QSocketNotifier notifier_;
    QByteArray buffer_;
};

ForwardServer::ForwardServer(const QString& socketPath, QObject* parent)
    : QObject(parent)
    , path_(socketPath)
{
    sockaddr_un address {};
    if (!socketAddress(socketPath, address))
        return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    ::unlink(address.sun_path);
    // Only this user may connect.
    const mode_t mask = ::umask(0077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(fd, 8) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ForwardServer::accept);
}

ForwardServer::~ForwardServer()
{
    if (fd_ < 0)
        return;
    delete notifier_;
    ::close(fd_);
    ::unlink(QFile::encodeName(path_).constData());
}

bool ForwardServer::isListening() const { return fd_ >= 0; }

void ForwardServer::accept()
{
    for (;;) {
        const int connection = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        // Only this user's own copies may ask.
        if (!peerIsThisUser(connection)) {
            ::close(connection);
            continue;
        }
        auto* reader = new Connection(connection, this);
        // Whatever arrived with the connection is read at once.
        QMetaObject::invokeMethod(
            reader, [reader, this] { reader->read(this); }, Qt::QueuedConnection);
    }
}

namespace {

// Connects `fd` to `address`, waiting until the deadline for a connection in progress.
bool connectTo(int fd, const sockaddr_un& address, QDeadlineTimer deadline)
{
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return true;
    if ((errno != EINPROGRESS && errno != EAGAIN) || !waitFor(fd, POLLOUT, deadline))
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

// Calls `transfer`, one send or receive on `fd` that returns what the system
// call does, until `finished` holds. An interrupted call is made again; one
// that would block waits until `fd` is ready for `events`. False when a call
// fails, the other end hangs up or the deadline passes first.
template <class Transfer, class Finished>
bool transferUntil(int fd, short events, QDeadlineTimer deadline, Transfer transfer, Finished finished)
{
    while (!finished()) {
        const ssize_t done = transfer();
        if (done > 0)
            continue;
        const bool retry = done < 0 && (errno == EINTR || (errno == EAGAIN && waitFor(fd, events, deadline)));
        if (!retry)
            return false;
    }
    return true;
}

} // namespace

bool sendForwardRequest(const QString& socketPath, const QByteArray& line, int timeoutMs)
{
    sockaddr_un address {};
    if (!socketAddress(socketPath, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    const QByteArray data = line + '\n';
    qsizetype sent = 0;
    const auto send = [&] {
        const ssize_t done = ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        sent += std::max<ssize_t>(done, 0);
        return done;
    };
    QByteArray answer;
    const auto receive = [&] {
        char chunk[16];
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        answer.append(chunk, std::max<ssize_t>(got, 0));
        return got;
    };
    // A socket of another user's is never told anything. The request is
    // handed over only once the first copy says it carried it out.
    const bool answered = connectTo(fd, address, deadline) && peerIsThisUser(fd)
        && transferUntil(fd, POLLOUT, deadline, send, [&] { return sent == data.size(); })
        && transferUntil(fd, POLLIN, deadline, receive, [&] { return answer.contains('\n'); });
    ::close(fd);
    return answered && answer.startsWith("ok\n");
}

} // namespace platform
