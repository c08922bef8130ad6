// Two real copies of the program: the second brings the first forward and ends.
#include "platform/SingleInstance.h"
#include "rtl/TextFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utime.h>

namespace {

constexpr int startTimeoutMs = 60000;
// A second copy must be gone within this time.
constexpr int secondCopyTimeoutMs = 10000;

// One run of the program, traced, with its start folder and runtime folder
// given; its message boxes are printed on its standard output.
class Program final {
public:
    Program(const QString& startFolder, const QString& runtimeFolder)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
        environment.insert(QStringLiteral("KAVRO_INSTANCE_TRACE"), QStringLiteral("1"));
        environment.insert(QStringLiteral("KAVRO_DIALOGS"), QStringLiteral("print"));
        process_.setProcessEnvironment(environment);
        process_.setWorkingDirectory(startFolder);
        process_.setProgram(QStringLiteral(KAVRO_PROGRAM));
        process_.start();
    }
    ~Program()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    QProcess& process() { return process_; }
    bool running() const { return process_.state() == QProcess::Running; }

    // Waits until the program has written `line` on its standard output `times` times.
    bool waitForLine(const QString& line, int times = 1)
    {
        QElapsedTimer clock;
        clock.start();
        while (output().count(line) < times) {
            if (clock.hasExpired(startTimeoutMs) || process_.state() == QProcess::NotRunning)
                return output().count(line) >= times;
            process_.waitForReadyRead(100);
        }
        return true;
    }

    QStringList output()
    {
        seen_ += QString::fromLocal8Bit(process_.readAllStandardOutput());
        return seen_.split(u'\n', Qt::SkipEmptyParts);
    }

private:
    QProcess process_;
    QString seen_;
};

class SingleInstanceProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(startFolder.isValid());
        ASSERT_TRUE(runtimeFolder.isValid());
        testing_support::writeFile(startFolder.filePath(QStringLiteral("ConFigs/Main.ini")),
            rtl::joinCrLf(testing_support::sampleMenuLines()));
    }

    std::unique_ptr<Program> start() { return std::make_unique<Program>(startFolder.path(), runtimeFolder.path()); }

    // A later copy that must end by itself, in time and without an error.
    void expectSecondCopyEnds()
    {
        QElapsedTimer clock;
        clock.start();
        const auto second = start();
        ASSERT_TRUE(second->process().waitForFinished(secondCopyTimeoutMs)) << "the second copy is still running";
        EXPECT_EQ(second->process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second->process().exitCode(), 0);
        EXPECT_EQ(second->output(), QStringList()) << "the second copy said something";
        std::printf("second copy ended after %lld ms\n", static_cast<long long>(clock.elapsed()));
    }

    // The program's files in the runtime folder, named after the program file.
    QString runtimeFile(const char* suffix) const
    {
        return runtimeFolder.filePath(QStringLiteral("Kavrostart-%1%2").arg(::geteuid()).arg(QLatin1String(suffix)));
    }

    QTemporaryDir startFolder;
    QTemporaryDir runtimeFolder;
};

TEST_F(SingleInstanceProcess, ASecondStartEndsAndTheFirstComesForward)
{
    const auto first = start();
    ASSERT_TRUE(first->waitForLine(QStringLiteral("running")));
    // The probe ran under the title made from the program file's name.
    EXPECT_TRUE(QFileInfo::exists(runtimeFile(".lock")));

    expectSecondCopyEnds();
    EXPECT_TRUE(first->waitForLine(QStringLiteral("request raise: Form1 raised")));
    EXPECT_TRUE(first->running());

    expectSecondCopyEnds();
    EXPECT_TRUE(first->waitForLine(QStringLiteral("request raise: Form1 raised"), 2));
    EXPECT_TRUE(first->running());
}

TEST_F(SingleInstanceProcess, AMinimisedFirstCopyIsRestored)
{
    const auto first = start();
    ASSERT_TRUE(first->waitForLine(QStringLiteral("running")));
    ASSERT_TRUE(platform::sendForwardRequest(runtimeFile(".socket"), "minimize", 5000));
    ASSERT_TRUE(first->waitForLine(QStringLiteral("minimized Form1")));

    expectSecondCopyEnds();
    EXPECT_TRUE(first->waitForLine(QStringLiteral("request raise: Form1 restored")));
    EXPECT_TRUE(first->running());
}

TEST_F(SingleInstanceProcess, AnOldLockStillKeepsALaterStartOut)
{
    const auto first = start();
    ASSERT_TRUE(first->waitForLine(QStringLiteral("running")));
    // The lock is the kernel's and lasts as long as its holder: the age of
    // the file means nothing, so a start long after the first still ends.
    struct utimbuf old { };
    old.actime = old.modtime = ::time(nullptr) - 3600;
    ASSERT_EQ(::utime(QFile::encodeName(runtimeFile(".lock")).constData(), &old), 0);
    expectSecondCopyEnds();
    EXPECT_TRUE(first->running());
}

TEST_F(SingleInstanceProcess, ASecondStartEndsEvenWhenItCannotReachTheFirst)
{
    const auto first = start();
    ASSERT_TRUE(first->waitForLine(QStringLiteral("running")));
    ASSERT_TRUE(QFile::remove(runtimeFile(".socket")));
    expectSecondCopyEnds();
    EXPECT_TRUE(first->running());
    EXPECT_FALSE(first->output().join(u'\n').contains(QStringLiteral("request")));
}

TEST_F(SingleInstanceProcess, AfterTheFirstIsKilledHardANewStartComesUp)
{
    auto first = start();
    ASSERT_TRUE(first->waitForLine(QStringLiteral("running")));
    first->process().kill();
    ASSERT_TRUE(first->process().waitForFinished(5000));
    ASSERT_EQ(first->process().exitStatus(), QProcess::CrashExit);
    // What the killed copy left behind.
    EXPECT_TRUE(QFileInfo::exists(runtimeFile(".lock")));
    EXPECT_TRUE(QFileInfo::exists(runtimeFile(".socket")));

    const auto next = start();
    ASSERT_TRUE(next->waitForLine(QStringLiteral("running")));
    EXPECT_FALSE(next->process().waitForFinished(1000));
    EXPECT_TRUE(next->running());

    // The new copy holds the name and answers on a fresh socket.
    expectSecondCopyEnds();
    EXPECT_TRUE(next->waitForLine(QStringLiteral("request raise: Form1 raised")));
}

TEST_F(SingleInstanceProcess, AStartWhileTheFirstIsEndingTakesItsPlace)
{
    // A first copy in its last moments: it still holds the lock and the
    // socket but no longer answers.
    auto ending = std::make_unique<platform::InstanceLock>(runtimeFile(".lock"));
    ASSERT_EQ(ending->state(), platform::InstanceLock::State::Held);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray socketFile = QFile::encodeName(runtimeFile(".socket"));
    std::memcpy(address.sun_path, socketFile.constData(), size_t(socketFile.size()));
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);

    const auto next = start();
    pollfd asked { listener, POLLIN, 0 };
    ASSERT_EQ(::poll(&asked, 1, startTimeoutMs), 1) << "the new start never asked";
    // Then the first copy ends as the program does: its socket goes before
    // its lock, or the socket the new start makes could be taken away.
    ::close(listener);
    ::unlink(socketFile.constData());
    ending.reset();

    ASSERT_TRUE(next->waitForLine(QStringLiteral("running")));
    expectSecondCopyEnds();
    EXPECT_TRUE(next->waitForLine(QStringLiteral("request raise: Form1 raised")));
}

} // namespace
