// Processor time of the whole program idling under a real X server, the
// control box's clock ticking and nothing else happening, beside two Qt
// windows over the same span: one that redraws a clock-sized square once a
// second, and one that a timer wakes once a second to do nothing, the least
// any Qt program that acts every second can cost.
// The span is 120 s; KAVRO_IDLE_SECONDS sets a shorter one for a quick check.
#include "support/BenchRun.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

namespace {

constexpr double aimPercent = 0.02;

bool startAndWaitForLine(QProcess& process, const QString& program, const QStringList& arguments,
    const QProcessEnvironment& env, const QString& folder, const QByteArray& line)
{
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return false;
    if (line.isEmpty())
        return true;
    while (process.canReadLine() || process.waitForReadyRead(20000))
        while (process.canReadLine())
            if (process.readLine().trimmed() == line)
                return true;
    return false;
}

double percentOfOneCore(long long ns, double seconds) { return 100.0 * double(ns) / 1e9 / seconds; }

// A program measured: its threads at the start of the span, and what each
// thread used over it.
struct Measured {
    explicit Measured(const char* name)
        : label(name)
    {
    }
    const char* label;
    QProcess process;
    pid_t pid = 0;
    std::map<int, bench::ThreadCpu> before;
    std::vector<bench::ThreadCpu> over;
    long long ns = 0;

    void start()
    {
        pid = pid_t(process.processId());
        for (const bench::ThreadCpu& thread : bench::threadCpuNs(pid))
            before[thread.tid] = thread;
    }
    void stop()
    {
        for (bench::ThreadCpu thread : bench::threadCpuNs(pid)) {
            if (const auto was = before.find(thread.tid); was != before.end()) {
                thread.ns -= was->second.ns;
                thread.waits -= was->second.waits;
                thread.preemptions -= was->second.preemptions;
            }
            ns += thread.ns;
            over.push_back(thread);
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    const bench::BenchRun run;
    if (!run.ok())
        return 1;
    QCoreApplication app(argc, argv);
    const double span = bench::secondsFromEnvironment("KAVRO_IDLE_SECONDS", 120);
    const QString kavroProgram = bench::BenchRun::kavroProgram();
    const QString minimalProgram = bench::BenchRun::minimalWindowProgram();
    const QString folder = run.startFolder();
    const bench::BenchDisplay& display = run.display();

    QTemporaryDir home;
    QTemporaryDir homeRuntime;
    if (!home.isValid() || !homeRuntime.isValid()) {
        std::fprintf(stderr, "cannot make the user's folders\n");
        return 1;
    }
    QProcessEnvironment env = run.environment();
    env.insert("KAVRO_INSTANCE_TRACE", "1");

    // Its own home and runtime folders: the user's folder is made there, and it is a copy of its own.
    QProcessEnvironment userEnv = env;
    userEnv.insert("HOME", home.path());
    userEnv.insert("XDG_RUNTIME_DIR", homeRuntime.path());
    for (const char* name : { "XDG_DATA_HOME", "XDG_CONFIG_HOME" })
        userEnv.remove(name);

    Measured kavro("Kavro Start, clock ticking");
    Measured following("Kavro Start on the user's folder, following");
    Measured redrawing("Qt window redrawing 64 x 51 each second");
    Measured waking("Qt window woken each second, drawing nothing");
    if (!startAndWaitForLine(kavro.process, kavroProgram, {}, env, folder, "running")
        || !startAndWaitForLine(
            following.process, kavroProgram, { "--user-folder" }, userEnv, home.path(), "running")) {
        std::fprintf(stderr, "Kavro Start did not reach its event loop\n");
        return 1;
    }
    if (!startAndWaitForLine(redrawing.process, minimalProgram, { "--tick" }, env, folder, {})
        || !startAndWaitForLine(waking.process, minimalProgram, { "--wake" }, env, folder, {})) {
        std::fprintf(stderr, "the minimal window did not start\n");
        return 1;
    }
    Measured* const programs[] = { &kavro, &following, &redrawing, &waking };
    // Start-up is over once all have painted and settled.
    std::this_thread::sleep_for(std::chrono::seconds(3));

    for (Measured* program : programs)
        program->start();
    const long long serverBefore = display.serverPid() ? bench::processCpuNs(display.serverPid()) : -1;
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(span));
    for (Measured* program : programs)
        program->stop();
    const long long serverNs = display.serverPid() ? bench::processCpuNs(display.serverPid()) - serverBefore : -1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    bool allRan = true;
    for (Measured* program : programs)
        allRan = allRan && program->process.state() == QProcess::Running;
    for (Measured* program : programs) {
        program->process.terminate();
        program->process.waitForFinished(5000);
    }
    if (!allRan) {
        std::fprintf(stderr, "a program ended while it was measured\n");
        return 1;
    }

    std::printf("Idle processor time over %.1f s on %s\n", seconds, display.description().c_str());
    for (const Measured* measured : { &kavro, &following }) {
        const double percent = percentOfOneCore(measured->ns, seconds);
        std::printf("  %-46s %8.2f ms = %.4f %% of one core; aim %.4f %%: ratio %.2f (aim <= 1)\n", measured->label,
            double(measured->ns) / 1e6, percent, aimPercent, percent / aimPercent);
    }
    for (const Measured* reference : { &redrawing, &waking })
        std::printf("  %-46s %8.2f ms = %.4f %% of one core; Kavro Start / it: %.2f\n", reference->label,
            double(reference->ns) / 1e6, percentOfOneCore(reference->ns, seconds),
            reference->ns > 0 ? double(kavro.ns) / double(reference->ns) : 0.0);
    if (serverNs >= 0)
        std::printf("  %-46s %8.2f ms\n", "the X server meanwhile, for all three", double(serverNs) / 1e6);
    // Waits are the times a thread slept and was woken again; each costs far
    // more than the few instructions a tick runs.
    std::printf("  By thread: processor time; per second, waits + preemptions:\n");
    for (const Measured* program : programs) {
        std::printf("    %s\n", program->label);
        for (const bench::ThreadCpu& thread : program->over) {
            const bool main = thread.tid == program->pid;
            std::printf("      %-16s%-7s %8.2f ms  %5.2f + %.2f\n", thread.name.c_str(), main ? " (main)" : "",
                double(thread.ns) / 1e6, double(thread.waits) / seconds, double(thread.preemptions) / seconds);
        }
    }
    return 0;
}
