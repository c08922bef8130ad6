// The display of benchmarks that measure drawing: the X server DISPLAY
// names, or else a private Xvfb started for the run and ended with it.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace bench {

class BenchDisplay final {
public:
    // Sets DISPLAY and QT_QPA_PLATFORM=xcb for this process and its children;
    // call before the application object exists.
    BenchDisplay();
    ~BenchDisplay();
    BenchDisplay(const BenchDisplay&) = delete;
    BenchDisplay& operator=(const BenchDisplay&) = delete;

    bool ok() const { return !name_.empty(); }
    const std::string& name() const { return name_; }
    // The private server's process, or 0 when DISPLAY was given.
    pid_t serverPid() const { return server_; }
    // What the display is, for the report.
    std::string description() const;

private:
    std::string name_;
    pid_t server_ = 0;
};

// Processor time of a whole running process, all its threads, in nanoseconds
// (from the scheduler's own accounting, not the clock-tick sampled figures);
// -1 when the process is gone.
long long processCpuNs(pid_t pid);

// The same for each thread: its identifier and name, its processor time,
// and how often it gave up the processor to wait (voluntary context
// switches) and how often it was made to (involuntary ones).
struct ThreadCpu {
    int tid = 0;
    std::string name;
    long long ns = 0;
    long long waits = 0;
    long long preemptions = 0;
};
std::vector<ThreadCpu> threadCpuNs(pid_t pid);

// Starts the program `arguments[0]` names (a path, or a name found on PATH)
// as a process of its own, the way a desktop starts a command: without
// copying this process's memory, whose every page a large process would
// otherwise pay for in page faults until the child runs the program. Its
// standard output and error go to /dev/null. Returns its pid, or 0.
pid_t spawnProcess(const std::vector<std::string>& arguments);
// Waits until the process ends; its exit code, or -1 when it did not exit normally.
int waitForExit(pid_t pid);

// Seconds of a measuring span: the environment variable `name` when set to a
// positive number, otherwise `fallback`.
double secondsFromEnvironment(const char* name, double fallback);

} // namespace bench
