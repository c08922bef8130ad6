// Single-instance lock and the come-forward channel on Linux.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A request is one short line; anything longer is not one of ours.
constexpr qint64 maxRequestLength = 256;

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

} // namespace

QString runtimeFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

QString userScopedName(const QString& name) { return name + u'-' + QString::number(::geteuid()); }

InstanceLock::InstanceLock(QString path) : path_(std::move(path))
{
    const QByteArray file = QFile::encodeName(path_);
    // A holder that ends removes the file while it holds the lock; a file
    // opened just before that removal is not the lock any more, so a lock
    // taken on it is dropped and the file at the path is tried again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        struct stat opened {};
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
        struct stat current {};
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

ForwardServer::ForwardServer(const QString& socketPath, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(socketPath);
    if (!server_->listen(socketPath))
        return;
    connect(server_, &QLocalServer::newConnection, this, &ForwardServer::accept);
}

ForwardServer::~ForwardServer() { server_->close(); }

bool ForwardServer::isListening() const { return server_->isListening(); }

void ForwardServer::accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto drain = [this, socket] {
            while (socket->canReadLine()) {
                QByteArray line = socket->readLine(maxRequestLength);
                while (line.endsWith('\n') || line.endsWith('\r'))
                    line.chop(1);
                emit request(line);
            }
            if (socket->bytesAvailable() > maxRequestLength)
                socket->abort();
        };
        connect(socket, &QLocalSocket::readyRead, this, drain);
        // A sender may hang up as soon as its line is written: read what it left first.
        connect(socket, &QLocalSocket::disconnected, this, drain);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        drain();
    }
}

bool sendForwardRequest(const QString& socketPath, const QByteArray& line, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(line + '\n');
    bool delivered = true;
    while (delivered && socket.bytesToWrite() > 0)
        delivered = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return delivered;
}

} // namespace platform
