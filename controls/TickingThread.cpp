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
            {
                std::lock_guard lock(handOver.mutex);
                if (handOver.tick == HandOver::Tick::Running)
                    handOver.tick = HandOver::Tick::Done;
            }
            handOver.changed.notify_all();
        }
    } finish { *handOver };
    tick();
    return true;
}

void TTickingThread::Execute(HandOver& h, const std::function<void()>& requestTick, Period period)
{
    using Tick = HandOver::Tick;
    std::unique_lock lock(h.mutex);
    while (!h.terminated) {
        h.tick = Tick::Requested;
        lock.unlock();
        requestTick();
        lock.lock();
        // A stop ends the wait too: the user-interface thread may be the one
        // stopping us, from inside the tick or instead of running it.
        h.changed.wait(lock, [&h] { return h.terminated || h.tick == Tick::Done; });
        h.tick = Tick::None;
        if (h.terminated)
            break;
        h.changed.wait_for(lock, period, [&h] { return h.terminated; });
    }
}
