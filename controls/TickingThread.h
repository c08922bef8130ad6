// The worker thread that makes the analogue clock tick, and its hand-over of
// each tick to the user-interface thread.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

// The clock's worker. It asks the user-interface thread for a tick once a
// period, just after each whole period of the system clock begins, until it
// is stopped; it never asks for a new tick before the last has been carried
// out, and after one that was late it rests at least half a period. Stopping
// wakes every wait at once and drops a tick that was asked for but not yet
// begun, so the user-interface thread never waits on a tick it would have to
// run itself.
class TTickingThread final {
public:
    using Period = std::chrono::milliseconds;

    // Starts running at once and asks for its first tick straight away.
    // `requestTick` is called on the worker; it must make the user-interface
    // thread call CarryOutTick soon.
    explicit TTickingThread(std::function<void()> requestTick, Period period = Period(1000));
    // Stops the worker as Terminate and WaitFor do.
    ~TTickingThread();
    TTickingThread(const TTickingThread&) = delete;
    TTickingThread& operator=(const TTickingThread&) = delete;

    // Asks the worker to end at its next check; returns at once.
    void Terminate();
    // Ends the worker and waits until it has gone. A tick still waiting to
    // be carried out is dropped. Call on the user-interface thread.
    void WaitFor();

    // On the user-interface thread: runs `tick` for the tick the worker asked
    // for and lets the worker go on. Returns false, running nothing, when no
    // tick is waiting (none asked for, already carried out, or dropped).
    // This object may be destroyed while `tick` runs.
    bool CarryOutTick(const std::function<void()>& tick);

    // Where the hand-over stands, for tests that wait for a state rather than
    // for time to pass: a tick has been asked for and not yet begun; the
    // worker's period is over and it waits until that tick is carried out.
    bool tickAskedFor() const;
    bool waitingForTick() const;

private:
    struct HandOver;
    static void Execute(HandOver& handOver, const std::function<void()>& requestTick, Period period);

    std::shared_ptr<HandOver> handOver_;
    std::thread thread_;
};
