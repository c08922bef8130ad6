// The clock's worker thread and its hand-over to the user-interface thread.
#include "controls/TickingThread.h"

#include <condition_variable>
#include <mutex>

struct TTickingThread::HandOver {
    enum class Tick { None, Requested, Running, Done };

    std::mutex mutex;
    std::condition_variable changed;
    bool terminated = false;
    Tick tick = Tick::None;
    // The worker waits for the tick itself, not only for its period to pass,
    // and must be told when the tick is done.
    bool waitingForTick = false;
};

TTickingThread::TTickingThread(std::function<void()> requestTick, Period period)
    : handOver_(std::make_shared<HandOver>())
{
    thread_ = std::thread([handOver = handOver_, requestTick = std::move(requestTick), period] {
        Execute(*handOver, requestTick, period);
    });
}

TTickingThread::~TTickingThread()
{
    Terminate();
    WaitFor();
}

void TTickingThread::Terminate()
{
    {
        std::lock_guard lock(handOver_->mutex);
        handOver_->terminated = true;
    }
    handOver_->changed.notify_all();
}

void TTickingThread::WaitFor()
{
    {
        std::lock_guard lock(handOver_->mutex);
        handOver_->terminated = true;
        if (handOver_->tick == HandOver::Tick::Requested)
            handOver_->tick = HandOver::Tick::None;
    }
    handOver_->changed.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool TTickingThread::CarryOutTick(const std::function<void()>& tick)
{
    // Held here, not through `this`, which the tick may free.
    const std::shared_ptr<HandOver> handOver = handOver_;
    {
        std::lock_guard lock(handOver->mutex);
        if (handOver->terminated || handOver->tick != HandOver::Tick::Requested)
            return false;
        handOver->tick = HandOver::Tick::Running;
    }
    struct Finish {
        HandOver& handOver;
        ~Finish()
        {
            bool wake = false;
            {
                std::lock_guard lock(handOver.mutex);
                if (handOver.tick == HandOver::Tick::Running)
                    handOver.tick = HandOver::Tick::Done;
                wake = handOver.waitingForTick;
            }
            if (wake)
                handOver.changed.notify_all();
        }
    } finish { *handOver };
    tick();
    return true;
}

bool TTickingThread::tickAskedFor() const
{
    std::lock_guard lock(handOver_->mutex);
    return handOver_->tick == HandOver::Tick::Requested;
}

bool TTickingThread::waitingForTick() const
{
    std::lock_guard lock(handOver_->mutex);
    return handOver_->waitingForTick;
}

namespace {

using Steady = std::chrono::steady_clock;

// When the next tick is due: at least `rest` from now, and just after a whole
// number of periods on the system clock, so that a clock's ticks come right
// after each second begins and never read the second before. The wait itself
// runs on the steady clock, so setting the system clock upsets one tick at most.
Steady::time_point nextTick(TTickingThread::Period period, Steady::duration rest)
{
    const auto intoPeriod = std::chrono::system_clock::now().time_since_epoch() % period;
    Steady::duration wait = period - intoPeriod + period / 100;
    while (wait < rest)
        wait += period;
    return Steady::now() + wait;
}

} // namespace

void TTickingThread::Execute(HandOver& h, const std::function<void()>& requestTick, Period period)
{
    using Tick = HandOver::Tick;
    // A stop ends every wait: the user-interface thread may be the one
    // stopping us, from inside the tick or instead of running it.
    const auto stopped = [&h] { return h.terminated; };
    std::unique_lock lock(h.mutex);
    while (!h.terminated) {
        h.tick = Tick::Requested;
        lock.unlock();
        requestTick();
        lock.lock();
        // A tick is over long before the next is due, so whether it is done is
        // looked at when the sleep ends instead of being woken for: the worker
        // wakes once a tick.
        if (h.changed.wait_until(lock, nextTick(period, period / 2), stopped))
            break;
        if (h.tick != Tick::Done) {
            // Not carried out yet: wait until it is, then rest before the next.
            h.waitingForTick = true;
            h.changed.wait(lock, [&h] { return h.terminated || h.tick == Tick::Done; });
            h.waitingForTick = false;
            if (h.changed.wait_until(lock, nextTick(period, period / 2), stopped))
                break;
        }
    }
}
