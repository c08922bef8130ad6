// The single-instance probe, the come-forward channel and what the first copy does on a request.
#include "desk/Just1_32.h"

#include "platform/SingleInstance.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <QtTest/QTest>
#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utime.h>
#include <vector>

using testing_support::waitUntil;
using testing_support::writeFile;

namespace {

TEST(DefaultApplicationTitle, IsTheProgramFileNameCutAtTheFirstDotWithTheRestLowerCased)
{
    struct Case {
        const char* program;
        const char* title;
    };
    const Case cases[] = {
        { "/usr/local/bin/KavroStart", "Kavrostart" },
        { "/opt/KAVRO.START.EXE", "Kavro" },
        { "/opt/v1.2/kavroStart", "kavrostart" },
        { "/bin/x", "x" },
        { "KavroStart.bin", "Kavrostart" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(defaultApplicationTitle(QString::fromLatin1(c.program)), QString::fromLatin1(c.title)) << c.program;
}

// A first copy answering on a thread of its own, as another process would
// while this one waits for its answer.
class FirstCopy final : public QThread {
public:
    explicit FirstCopy(QString folder)
        : folder_(std::move(folder))
    {
        start();
        ready_.acquire();
    }
    ~FirstCopy() override
    {
        quit();
        wait();
    }

    bool found() const { return found_; }
    QList<QByteArray> requests() const
    {
        const QMutexLocker locked(&mutex_);
        return requests_;
    }

protected:
    void run() override
    {
        TPreviousInstance probe(QStringLiteral("Kavrostart"), folder_);
        found_ = probe.Found();
        QObject::connect(
            &probe, &TPreviousInstance::requestHandled, &probe, [this](const QByteArray& request, const QStringList&) {
                const QMutexLocker locked(&mutex_);
                requests_.append(request);
            });
        ready_.release();
        exec();
    }

private:
    QString folder_;
    QSemaphore ready_;
    std::atomic<bool> found_ { false };
    mutable QMutex mutex_;
    QList<QByteArray> requests_;
};

class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    std::unique_ptr<TPreviousInstance> probe() const
    {
        return std::make_unique<TPreviousInstance>(QStringLiteral("Kavrostart"), folder.path());
    }
    QString file(const char* suffix) const
    {
        return folder.filePath(platform::userScopedName(QStringLiteral("Kavrostart")) + QString::fromLatin1(suffix));
    }

    QTemporaryDir folder;
};

TEST_F(ProbeTest, TheFirstProbeHoldsTheNameAndALaterOneFindsIt)
{
    const auto first = probe();
    EXPECT_FALSE(first->Found());
    EXPECT_EQ(first->lockPath(), file(".lock"));
    EXPECT_TRUE(QFileInfo::exists(file(".lock")));
    EXPECT_TRUE(QFileInfo::exists(file(".socket")));
    EXPECT_EQ(QFileInfo(file(".lock")).fileName(), QStringLiteral("Kavrostart-%1.lock").arg(::geteuid()));

    auto second = probe();
    EXPECT_TRUE(second->Found());

    // A copy that found another never removes the holder's files.
    second.reset();
    EXPECT_TRUE(QFileInfo::exists(file(".lock")));
    EXPECT_TRUE(QFileInfo::exists(file(".socket")));
    EXPECT_TRUE(probe()->Found());
}

TEST_F(ProbeTest, TheHolderRemovesItsFilesAtTheEndAndTheNextStartIsFirst)
{
    probe().reset();
    EXPECT_FALSE(QFileInfo::exists(file(".lock")));
    EXPECT_FALSE(QFileInfo::exists(file(".socket")));
    EXPECT_FALSE(probe()->Found());
}

TEST_F(ProbeTest, ALaterCopyReachesTheFirstWhichHandlesTheRequestBeforeItAcknowledges)
{
    FirstCopy first(folder.path());
    ASSERT_FALSE(first.found());
    const auto second = probe();
    ASSERT_TRUE(second->Found());
    EXPECT_TRUE(second->AskToComeForward());
    EXPECT_EQ(first.requests(), QList<QByteArray> { "raise" });
}

TEST_F(ProbeTest, ACopyThatGetsNoAnswerTakesTheFirstsPlaceOnceItHasEnded)
{
    // A first copy that is ending: it holds the lock but answers nothing.
    auto ending = std::make_unique<platform::InstanceLock>(file(".lock"));
    ASSERT_EQ(ending->state(), platform::InstanceLock::State::Held);
    const auto later = probe();
    ASSERT_TRUE(later->Found());
    EXPECT_FALSE(later->AskToComeForward());
    EXPECT_FALSE(later->TakeOverWhenFree(50));

    std::thread end([&ending] { ending.reset(); });
    EXPECT_TRUE(later->TakeOverWhenFree(60000));
    end.join();
    EXPECT_FALSE(later->Found());
    // It answers later copies now.
    auto third = std::async(std::launch::async, [this] { return probe()->AskToComeForward(); });
    ASSERT_TRUE(waitUntil([&] { return third.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    EXPECT_TRUE(third.get());
}

TEST_F(ProbeTest, ALaterCopyThatCannotReachTheFirstStillKnowsItIsNotAlone)
{
    const auto first = probe();
    QFile::remove(file(".socket"));
    const auto second = probe();
    EXPECT_TRUE(second->Found());
    EXPECT_FALSE(second->AskToComeForward());
}

TEST_F(ProbeTest, AnOldLockIsHonouredWhileItsHolderLives)
{
    const auto first = probe();
    // An hour old, far beyond any staleness limit a lock file might have.
    struct utimbuf old { };
    old.actime = old.modtime = ::time(nullptr) - 3600;
    ASSERT_EQ(::utime(QFile::encodeName(file(".lock")).constData(), &old), 0);
    EXPECT_TRUE(probe()->Found());
}

TEST_F(ProbeTest, FilesLeftByACrashedCopyDoNotKeepANewStartOut)
{
    writeFile(file(".lock"), "12345\n");
    writeFile(file(".socket"), "left behind");
    FirstCopy fresh(folder.path());
    EXPECT_FALSE(fresh.found());
    // The new holder listens again where the old socket lay.
    EXPECT_TRUE(probe()->AskToComeForward());
}

TEST_F(ProbeTest, ALockFileThatCannotBeUsedLetsTheProgramStartAlone)
{
    // Owned by another user, or in a folder that does not exist.
    writeFile(file(".lock"), "");
    ASSERT_EQ(::chown(QFile::encodeName(file(".lock")).constData(), 65534, 65534), 0);
    EXPECT_FALSE(probe()->Found());
    EXPECT_FALSE(TPreviousInstance(QStringLiteral("Kavrostart"), folder.filePath(QStringLiteral("missing"))).Found());
}

TEST(BringForward, RestoresAndRaisesShowingWindowsAndLeavesHiddenOnesHidden)
{
    QWidget hidden;
    hidden.setObjectName(QStringLiteral("Form1"));
    QWidget minimised;
    minimised.setObjectName(QStringLiteral("MainForm"));
    QWidget showing;
    showing.setObjectName(QStringLiteral("MainFormer"));
    minimised.showMinimized();
    showing.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&showing));
    ASSERT_TRUE(minimised.isMinimized());

    const QStringList done = bringForward({ &hidden, nullptr, &minimised, &showing });
    EXPECT_EQ(done, (QStringList { QStringLiteral("MainForm restored"), QStringLiteral("MainFormer raised") }));
    EXPECT_FALSE(hidden.isVisible());
    EXPECT_FALSE(minimised.isMinimized());
    EXPECT_TRUE(minimised.isVisible());
    EXPECT_TRUE(showing.isVisible());

    // With nothing of the program showing, the control box comes up.
    minimised.hide();
    showing.hide();
    EXPECT_EQ(bringForward({ &hidden, &minimised, &showing }), QStringList { QStringLiteral("Form1 shown") });
    EXPECT_TRUE(hidden.isVisible());
    EXPECT_FALSE(showing.isVisible());
}

TEST(JustOne32, DoesNothingInTheOnlyCopy)
{
    QTemporaryDir folder;
    TPreviousInstance only(QStringLiteral("Kavrostart"), folder.path());
    setPreviousInstance(&only);
    QWidget owner;
    QList<QByteArray> requests;
    QObject::connect(&only, &TPreviousInstance::requestHandled, &only,
        [&requests](const QByteArray& request, const QStringList&) { requests.append(request); });
    TJustOne32 guard(&owner);
    // Whatever the guard sent is handled before a request sent after it.
    auto later = std::async(std::launch::async,
        [&only] { return platform::sendForwardRequest(only.socketPath(), QByteArrayLiteral("later"), 10000); });
    EXPECT_TRUE(waitUntil([&requests] { return requests.contains("later"); }, 10000));
    EXPECT_TRUE(later.get());
    EXPECT_EQ(requests, QList<QByteArray> { "later" });
    setPreviousInstance(nullptr);
}

TEST(JustOne32, InALaterCopyAsksTheFirstToComeForwardOrToShowTheWindowItWasStartedFor)
{
    QTemporaryDir folder;
    FirstCopy first(folder.path());
    for (const auto& [show, request] : { std::pair<std::optional<ShowTarget>, QByteArray> { std::nullopt, "raise" },
             { ShowTarget::Planner, "show planner" } }) {
        TPreviousInstance later(QStringLiteral("Kavrostart"), folder.path());
        if (show)
            later.setShowRequest(*show);
        setPreviousInstance(&later);
        QWidget owner;
        TJustOne32 guard(&owner);
        setPreviousInstance(nullptr);
        EXPECT_EQ(first.requests().value(first.requests().size() - 1), request);
        EXPECT_TRUE(later.Found());
    }
}

TEST(JustOne32, InTheFirstCopyHandsOnOnlyTheRequestsToShowAWindowItKnows)
{
    QTemporaryDir folder;
    TPreviousInstance only(QStringLiteral("Kavrostart"), folder.path());
    setPreviousInstance(&only);
    QWidget owner;
    TJustOne32 guard(&owner);
    setPreviousInstance(nullptr);
    // A vector: comparing two empty QLists hands memcmp a null pointer.
    std::vector<ShowTarget> shown;
    QObject::connect(&guard, &TJustOne32::OnShowRequest, [&shown](ShowTarget target) { shown.push_back(target); });
    const struct {
        QByteArray line;
        std::optional<ShowTarget> shown;
    } cases[] = {
        { "show launcher", ShowTarget::Launcher },
        { "show notes", ShowTarget::Notes },
        { "show", std::nullopt },
        { "show Launcher", std::nullopt },
        { "show launcher now", std::nullopt },
        { "showbox", std::nullopt },
    };
    const auto send = [&only](const QByteArray& line) {
        auto sent = std::async(
            std::launch::async, [&only, line] { return platform::sendForwardRequest(only.socketPath(), line, 10000); });
        return waitUntil([&sent] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000)
            && sent.get();
    };
    for (const auto& c : cases) {
        shown.clear();
        EXPECT_TRUE(send(c.line)) << "every line is acknowledged: " << c.line.constData();
        EXPECT_EQ(shown, c.shown ? std::vector<ShowTarget> { *c.shown } : std::vector<ShowTarget> {})
            << c.line.constData();
    }

    // While the windows are being made, a request waits until they all exist.
    shown.clear();
    only.holdShowRequests();
    EXPECT_TRUE(send("show planner"));
    EXPECT_TRUE(shown.empty());
    only.showHeldRequests();
    EXPECT_EQ(shown, std::vector<ShowTarget> { ShowTarget::Planner });
}

} // namespace
