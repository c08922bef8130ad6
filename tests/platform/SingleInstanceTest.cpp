// The single-instance channel against other users: where its files live and
// who may talk to whom.
#include "platform/SingleInstance.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using testing_support::ChildResult;
using testing_support::waitUntil;

namespace {

struct stat statOf(const QString& path)
{
    struct stat st { };
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Sets an environment variable for its lifetime.
class ScopedEnvironment final {
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : name_(name)
        , old_(qgetenv(name))
        , had_(qEnvironmentVariableIsSet(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

TEST(RuntimeFolder, IsTheSameFolderOfTheUsersOwnAtEveryStartWhenTheSessionOffersNone)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving folders to other users needs root";
    QTemporaryDir temp;
    QTemporaryDir home;
    const ScopedEnvironment tmpdir("TMPDIR", QFile::encodeName(temp.path()));
    const ScopedEnvironment homeDir("HOME", QFile::encodeName(home.path()));
    const QString inTemp = temp.filePath(QStringLiteral("kavro-%1").arg(::geteuid()));
    const QString strangers = temp.filePath(QStringLiteral("strangers"));
    ASSERT_TRUE(QDir().mkdir(strangers));
    ASSERT_EQ(::chown(QFile::encodeName(strangers).constData(), 65534, 65534), 0);
    QTemporaryDir open;
    ASSERT_EQ(::chmod(QFile::encodeName(open.path()).constData(), 0777), 0);
    const auto isPrivate = [](const QString& folder) {
        const struct stat st = statOf(folder);
        return S_ISDIR(st.st_mode) && (st.st_mode & 0777) == 0700u && st.st_uid == ::geteuid();
    };

    // Unset, naming nothing, another user's folder, a folder anyone may write into.
    QString chosen;
    for (const QByteArray& runtime :
        { QByteArray(), QByteArray("/nonexistent"), QFile::encodeName(strangers), QFile::encodeName(open.path()) }) {
        const ScopedEnvironment xdg("XDG_RUNTIME_DIR", runtime);
        chosen = platform::runtimeFolder();
        EXPECT_TRUE(chosen.startsWith(home.path() + QStringLiteral("/.cache/kavro-"))) << chosen.toStdString();
        EXPECT_TRUE(isPrivate(chosen)) << runtime.constData();
    }

    // Another user takes the name in the temporary folder, as a link or a
    // folder, and frees it again: every start meets the same folder.
    const ScopedEnvironment xdg("XDG_RUNTIME_DIR", QByteArray());
    const std::function<bool()> takes[] = {
        [&] { return QFile::link(strangers, inTemp); },
        [&] { return QDir().mkdir(inTemp) && ::chown(QFile::encodeName(inTemp).constData(), 65534, 65534) == 0; },
    };
    for (const auto& take : takes) {
        ASSERT_TRUE(take());
        EXPECT_EQ(platform::runtimeFolder(), chosen);
        ASSERT_TRUE(QFile::remove(inTemp) || QDir().rmdir(inTemp));
        EXPECT_EQ(platform::runtimeFolder(), chosen);
    }
    EXPECT_TRUE(QDir(strangers).isEmpty());

    // Without a home to write in, the name in the temporary folder, made private.
    const ScopedEnvironment noHome("HOME", "/nonexistent");
    EXPECT_EQ(platform::runtimeFolder(), inTemp);
    EXPECT_TRUE(isPrivate(inTemp));
}

// A listening socket at `path`, reachable by every user.
int listenOpenly(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0
        || ::chmod(native.constData(), 0777) != 0)
        return -1;
    return fd;
}

TEST(ForwardChannel, OnlyProcessesOfTheSameUserTalkToEachOther)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a process of another user needs root to start";
    QTemporaryDir folder;
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0777), 0);

    // Another user's request to this user's first copy.
    const QString ours = folder.filePath(QStringLiteral("ours.socket"));
    platform::ForwardServer server(ours);
    ASSERT_TRUE(server.isListening());
    ASSERT_EQ(::chmod(QFile::encodeName(ours).constData(), 0777), 0);
    QList<QByteArray> requests;
    QObject::connect(
        &server, &platform::ForwardServer::requestReceived, [&](const QByteArray& line) { requests.append(line); });
    std::atomic<bool> done { false };
    ChildResult asked = ChildResult::Failed;
    std::thread stranger([&] {
        asked = testing_support::runAsUnprivileged([&] { return !platform::sendForwardRequest(ours, "raise", 5000); });
        done = true;
    });
    EXPECT_TRUE(waitUntil([&] { return done.load(); }, 20000));
    stranger.join();
    if (asked == ChildResult::CannotDropPrivileges)
        GTEST_SKIP() << "cannot run a child as an unprivileged user";
    EXPECT_EQ(asked, ChildResult::Passed) << "the stranger's request was acknowledged";
    EXPECT_TRUE(requests.isEmpty());

    // This user's request to a socket another user listens on.
    const QString theirs = folder.filePath(QStringLiteral("theirs.socket"));
    ChildResult heard = ChildResult::Failed;
    std::thread listener([&] {
        heard = testing_support::runAsUnprivileged([&] {
            const int fd = listenOpenly(theirs);
            if (fd < 0)
                return false;
            // Told nothing: a connection, if any comes, brings no bytes.
            pollfd ready { fd, POLLIN, 0 };
            if (::poll(&ready, 1, 20000) != 1)
                return false;
            const int connection = ::accept(fd, nullptr, nullptr);
            char byte = 0;
            return connection >= 0 && ::read(connection, &byte, 1) <= 0;
        });
    });
    // The socket is open to all only once it listens: a request sent when it merely exists is refused.
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(theirs).permissions().testFlag(QFileDevice::WriteOther); }, 20000));
    EXPECT_FALSE(platform::sendForwardRequest(theirs, "raise", 5000));
    listener.join();
    EXPECT_EQ(heard, ChildResult::Passed) << "the request reached another user's socket";
}

} // namespace
