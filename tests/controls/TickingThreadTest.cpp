// The clock's worker and its hand-over to the user-interface thread: ticks,
// stops and their races. Also built on its own under ThreadSanitizer.
#include "controls/TickingThread.h"

#include "controls/TikClock.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using testing_support::FixedClock;
using testing_support::waitUntil;

namespace {

// Ends the whole program if a test has not finished in time, so a deadlock
// fails at once instead of holding up the run.
class Watchdog final {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
            std::unique_lock lock(mutex_);
            if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                std::fprintf(stderr, "Watchdog: the test hung for %lld s\n", static_cast<long long>(limit.count()));
                std::_Exit(3);
            }
        })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

// Counts the worker's requests for a tick and notes when each came.
struct Requests {
    std::function<void()> callback()
    {
        return [this] {
            {
                std::lock_guard lock(mutex);
                ++count;
                times.push_back(std::chrono::system_clock::now());
            }
            changed.notify_all();
        };
    }
    bool waitFor(int wanted, std::chrono::milliseconds limit = 5000ms)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [&] { return count >= wanted; });
    }
    int current()
    {
        std::lock_guard lock(mutex);
        return count;
    }
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
    std::vector<std::chrono::system_clock::time_point> times;
};

// Waits, without carrying out any tick, until the clock's worker has asked
// for one; false after five seconds.
bool tickAskedFor(const TTickingClock& clock)
{
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!clock.Worker() || !clock.Worker()->tickAskedFor()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace

TEST(TickingThread, AsksForATickAtOnceAndNoMoreUntilItIsCarriedOut)
{
    Watchdog watchdog(60s);
    Requests requests;
    TTickingThread worker(requests.callback(), 1ms);
    ASSERT_TRUE(requests.waitFor(1));
    // Its period over, the worker waits for the tick instead of asking again.
    ASSERT_TRUE(waitUntil([&] { return worker.waitingForTick(); }));
    EXPECT_EQ(requests.current(), 1);

    int ticks = 0;
    EXPECT_TRUE(worker.CarryOutTick([&] { ++ticks; }));
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(worker.CarryOutTick([&] { ++ticks; })) << "a tick carried out is not run twice";
    ASSERT_TRUE(requests.waitFor(2));
    EXPECT_TRUE(worker.CarryOutTick([&] { ++ticks; }));
    EXPECT_EQ(ticks, 2);
}

TEST(TickingThread, AsksJustAfterEachWholePeriodOfTheSystemClockBeginsAndSkipsNone)
{
    Watchdog watchdog(60s);
    constexpr auto period = 200ms;
    Requests requests;
    TTickingThread worker(requests.callback(), period);
    for (int n = 1; n <= 4; ++n) {
        ASSERT_TRUE(requests.waitFor(n));
        ASSERT_TRUE(worker.CarryOutTick([] {}));
    }
    std::lock_guard lock(requests.mutex);
    for (std::size_t n = 1; n < requests.times.size(); ++n) {
        // A hundredth of the period late on purpose, so a clock never reads the time before.
        const auto into = requests.times[n].time_since_epoch() % period;
        EXPECT_GE(into, period / 100) << n;
        EXPECT_LT(into, period / 2) << n;
        if (n >= 2) {
            EXPECT_EQ(
                requests.times[n].time_since_epoch() / period - requests.times[n - 1].time_since_epoch() / period, 1)
                << n;
        }
    }
}

TEST(TickingThread, StopWakesTheSleepAtOnce)
{
    Watchdog watchdog(60s);
    Requests requests;
    TTickingThread worker(requests.callback(), 1h);
    ASSERT_TRUE(requests.waitFor(1));
    ASSERT_TRUE(worker.CarryOutTick([] {}));
    // The worker now sleeps for an hour; stopping must not wait for it.
    worker.Terminate();
    worker.WaitFor();
    EXPECT_EQ(requests.current(), 1);
}

TEST(TickingThread, StopDropsATickAskedForButNotBegun)
{
    Watchdog watchdog(60s);
    Requests requests;
    TTickingThread worker(requests.callback(), 1ms);
    ASSERT_TRUE(requests.waitFor(1));
    worker.WaitFor();
    bool ran = false;
    EXPECT_FALSE(worker.CarryOutTick([&] { ran = true; }));
    EXPECT_FALSE(ran);
}

TEST(TickingThread, StopFromInsideTheTickEndsTheWorker)
{
    Watchdog watchdog(60s);
    Requests requests;
    auto worker = std::make_unique<TTickingThread>(requests.callback(), 1ms);
    ASSERT_TRUE(requests.waitFor(1));
    TTickingThread* running = worker.get();
    EXPECT_TRUE(running->CarryOutTick([&] { worker.reset(); }));
    EXPECT_EQ(worker, nullptr);
}

TEST(TickingClockWorker, StartingAndStoppingAThousandTimesWithTicksInFlightNeverHangs)
{
    Watchdog watchdog(120s);
    FixedClock fixed(QDateTime(QDate(2024, 5, 6), QTime(10, 20, 30)));
    auto clock = std::make_unique<TTickingClock>();
    int ticks = 0;
    auto count = [&ticks] { ++ticks; };
    QObject::connect(clock.get(), &TTickingClock::OnTick, count);
    for (int round = 0; round < 1000; ++round) {
        clock->setMode(round % 2 ? TTickingClockMode::tcmClock : TTickingClockMode::tcmChronoMeter);
        switch (round % 4) {
        case 0: // stopped before its first tick can be carried out
            break;
        case 1: // stopped while its tick may or may not have been asked for
            QCoreApplication::processEvents();
            break;
        case 2: // stopped from inside a tick
            if (round % 20 == 2) {
                const int before = ticks;
                auto stopInside = QObject::connect(
                    clock.get(), &TTickingClock::OnTick, [&clock] { clock->setMode(TTickingClockMode::tcmIdle); });
                ASSERT_TRUE(waitUntil([&] { return ticks > before; }));
                QObject::disconnect(stopInside);
                EXPECT_EQ(clock->Worker(), nullptr);
            }
            break;
        case 3: // destroyed while running, its tick asked for but not carried out
            if (round % 20 == 3) {
                ASSERT_TRUE(tickAskedFor(*clock));
                clock = std::make_unique<TTickingClock>();
                QObject::connect(clock.get(), &TTickingClock::OnTick, count);
                QCoreApplication::processEvents();
                continue;
            }
            break;
        }
        clock->setMode(TTickingClockMode::tcmIdle);
    }
    EXPECT_EQ(clock->Worker(), nullptr);
}

TEST(TickingClockWorker, ATickAskedForByAClockDestroyedSinceRunsNowhere)
{
    Watchdog watchdog(60s);
    int ticks = 0;
    QObject observer;
    for (int round = 0; round < 50; ++round) {
        auto clock = std::make_unique<TTickingClock>();
        QObject::connect(clock.get(), &TTickingClock::OnTick, &observer, [&ticks] { ++ticks; });
        clock->setMode(TTickingClockMode::tcmChronoMeter);
        // The worker has asked for its first tick; the clock goes before it runs.
        ASSERT_TRUE(tickAskedFor(*clock));
        clock.reset();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(ticks, 0);
}
