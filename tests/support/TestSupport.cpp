// Shared test helpers.
#include "support/TestSupport.h"

#include "platform/Clock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

RecordingDialogs::RecordingDialogs() { platform::setDialogs(this); }

RecordingDialogs::~RecordingDialogs() { platform::setDialogs(nullptr); }

void RecordingDialogs::information(const QString& caption, const QString& text)
{
    boxes.push_back({ QStringLiteral("information"), caption, text, {} });
}

bool RecordingDialogs::informationWithChoice(const QString& caption, const QString& text, const QString& otherButton)
{
    boxes.push_back({ QStringLiteral("information"), caption, text, otherButton });
    return chooseOther;
}

void RecordingDialogs::error(const QString& text)
{
    boxes.push_back({ QStringLiteral("error"), QStringLiteral("Kavro Start"), text, {} });
}

ChildResult runInChild(const std::function<bool()>& body, bool unprivileged)
{
    constexpr int cannotDrop = 77;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return ChildResult::CannotDropPrivileges;
    if (child == 0) {
        // A body that would hang or grow for good is stopped: after a minute,
        // or at 2 GB more address space than the test had.
        ::alarm(60);
        unsigned long long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%llu", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        if (pages > 0) {
            const rlimit limit { pages * ::getpagesize() + (2ULL << 30), pages * ::getpagesize() + (2ULL << 30) };
            ::setrlimit(RLIMIT_AS, &limit);
        }
        if (unprivileged && ::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0
                || ::setresuid(65534, 65534, 65534) != 0))
            ::_exit(cannotDrop);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (WIFEXITED(status) && WEXITSTATUS(status) == cannotDrop)
        return ChildResult::CannotDropPrivileges;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildResult::Passed : ChildResult::Failed;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(data), data.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QList<QByteArray> sampleMenuLines()
{
    QList<QByteArray> lines;
    lines.append("Kavro Start menu");
    for (int n = 1; n <= 56; ++n) {
        lines.append("None");
        lines.append("");
        lines.append("G" + QByteArray::number(n));
        lines.append(QByteArray::number(n));
        lines.append("");
        lines.append("0");
        lines.append("");
        lines.append("2");
    }
    for (int c = 1; c <= 4; ++c)
        lines.append("T" + QByteArray::number(c));
    return lines;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

FixedClock::FixedClock(const QDateTime& at)
    : at_(std::make_shared<QDateTime>(at))
{
    auto shared = at_;
    platform::setClockForTesting([shared] { return *shared; });
}

FixedClock::~FixedClock() { platform::setClockForTesting({}); }

void FixedClock::set(const QDateTime& at) { *at_ = at; }

ScopedEnvironment::ScopedEnvironment(const char* name, const QByteArray& value)
    : name_(name)
    , wasSet_(qEnvironmentVariableIsSet(name))
    , old_(qgetenv(name))
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (wasSet_)
        qputenv(name_, old_);
    else
        qunsetenv(name_);
}

ScopedCurrentFolder::ScopedCurrentFolder()
    : previous_(QDir::currentPath())
{
}

ScopedCurrentFolder::ScopedCurrentFolder(const QString& folder)
    : ScopedCurrentFolder()
{
    EXPECT_TRUE(QDir::setCurrent(folder)) << folder.toStdString();
}

ScopedCurrentFolder::~ScopedCurrentFolder()
{
    if (!QDir::setCurrent(previous_))
        ADD_FAILURE() << "cannot return to " << previous_.toStdString();
}

} // namespace testing_support
