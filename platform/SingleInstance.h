// One running copy per user: a kernel lock on a file in the user's runtime
// folder, and a local socket through which a later copy asks the first one
// to come forward.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace platform {

// The folder for the user's runtime files: $XDG_RUNTIME_DIR when it names a
// folder of the user's own that nobody else may write into; otherwise a
// private folder made for the user, the same at every start ("kavro-<uid>-<host>"
// in ~/.cache, or "kavro-<uid>" in the temporary folder when the home folder
// cannot hold it); empty when there is none.
QString runtimeFolder();

// `name` made private to the user running the program ("<name>-<uid>").
QString userScopedName(const QString& name);

// An exclusive kernel lock (flock) on a file. The kernel drops the lock when
// its holder ends in any way, so a lock lives exactly as long as the process
// that took it: it never goes stale while that process runs, however long,
// and a crashed holder leaves nothing that keeps a new start out.
class InstanceLock final {
public:
    enum class State {
        Held, // this process took the lock
        HeldElsewhere, // another live process holds it
        Unavailable, // the lock file could not be used
    };

    explicit InstanceLock(QString path);
    // The holder removes the file while it still holds the lock, then releases it.
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return state_; }
    const QString& path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
    State state_ = State::Unavailable;
};

// The first copy's end of the channel. Only the lock holder creates one, so
// only the holder removes the socket file, either one a crashed holder left
// behind (when it starts listening) or its own (when it closes). It takes
// requests only from processes of its own user and acknowledges each once
// it has been handled.
class ForwardServer final : public QObject {
    Q_OBJECT
public:
    explicit ForwardServer(const QString& socketPath, QObject* parent = nullptr);
    ~ForwardServer() override;

    bool isListening() const;

signals:
    // One line a later copy sent, without its line end.
    void requestReceived(const QByteArray& line);

private:
    class Connection;

    void accept();

    QString path_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

// A later copy's end: sends one line to the server at `socketPath` and waits
// for its acknowledgement. False when nobody listens there, the listener
// runs as another user, or the line was not acknowledged in time.
bool sendForwardRequest(const QString& socketPath, const QByteArray& line, int timeoutMs);

} // namespace platform
