// Processor time of the whole program idling under a real X server, the
// control box's clock ticking and nothing else happening, beside a Qt window
// that redraws a clock-sized square once a second over the same span.
// The span is 120 s; KAVRO_IDLE_SECONDS sets a shorter one for a quick check.
#include "support/BenchDisplay.h"
#include "support/StartFolder.h"

#include <QCoreApplication>
#include <QDir>
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

} // namespace

int main(int argc, char** argv)
{
    bench::BenchDisplay display;
    if (!display.ok())
        return 1;
    QCoreApplication app(argc, argv);
    const double span = bench::secondsFromEnvironment("KAVRO_IDLE_SECONDS", 120);
    const QString binFolder = QCoreApplication::applicationDirPath();
    const QString kavroProgram = QDir(binFolder + "/..").absoluteFilePath("KavroStart");
    const QString minimalProgram = binFolder + "/minimal_window";

    QTemporaryDir folder;
    QTemporaryDir runtime;
    if (!folder.isValid() || !runtime.isValid() || !bench::writeStartFolder(folder.path())) {
        std::fprintf(stderr, "cannot write the benchmark's start folder\n");
        return 1;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A runtime folder of its own, so that a copy running elsewhere does not make this one end at once.
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("KAVRO_INSTANCE_TRACE", "1");
    env.insert("KAVRO_DIALOGS", "print");

    QProcess kavro;
    QProcess minimal;
    if (!startAndWaitForLine(kavro, kavroProgram, {}, env, folder.path(), "running")) {
        std::fprintf(stderr, "Kavro Start did not reach its event loop\n");
        return 1;
    }
    if (!startAndWaitForLine(minimal, minimalProgram, { "--tick" }, env, folder.path(), {})) {
        std::fprintf(stderr, "the minimal window did not start\n");
        return 1;
    }
    // Start-up is over once both have painted and settled.
    std::this_thread::sleep_for(std::chrono::seconds(3));

    const pid_t kavroPid = pid_t(kavro.processId());
    const pid_t minimalPid = pid_t(minimal.processId());
    std::map<int, bench::ThreadCpu> threadsBefore;
    for (const bench::ThreadCpu& thread : bench::threadCpuNs(kavroPid))
        threadsBefore[thread.tid] = thread;
    const long long kavroBefore = bench::processCpuNs(kavroPid);
    const long long minimalBefore = bench::processCpuNs(minimalPid);
    const long long serverBefore = display.serverPid() ? bench::processCpuNs(display.serverPid()) : -1;
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(span));
    const long long kavroNs = bench::processCpuNs(kavroPid) - kavroBefore;
    const long long minimalNs = bench::processCpuNs(minimalPid) - minimalBefore;
    const long long serverNs = display.serverPid() ? bench::processCpuNs(display.serverPid()) - serverBefore : -1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const std::vector<bench::ThreadCpu> threadsAfter = bench::threadCpuNs(kavroPid);

    const bool bothRan = kavro.state() == QProcess::Running && minimal.state() == QProcess::Running;
    kavro.terminate();
    minimal.terminate();
    kavro.waitForFinished(5000);
    minimal.waitForFinished(5000);
    if (!bothRan) {
        std::fprintf(stderr, "a program ended while it was measured\n");
        return 1;
    }

    const double kavroPercent = percentOfOneCore(kavroNs, seconds);
    const double minimalPercent = percentOfOneCore(minimalNs, seconds);
    std::printf("Idle processor time over %.1f s on %s\n", seconds, display.description().c_str());
    std::printf("  Kavro Start, clock ticking:            %8.2f ms = %.4f %% of one core; aim %.4f %%: ratio %.2f "
                "(aim <= 1)\n",
        double(kavroNs) / 1e6, kavroPercent, aimPercent, kavroPercent / aimPercent);
    std::printf("  Qt window redrawing 64 x 51 each second: %6.2f ms = %.4f %% of one core; Kavro Start / it: %.2f\n",
        double(minimalNs) / 1e6, minimalPercent, minimalNs > 0 ? double(kavroNs) / double(minimalNs) : 0.0);
    if (serverNs >= 0)
        std::printf("  the X server meanwhile, for both:        %6.2f ms\n", double(serverNs) / 1e6);
    std::printf("  Kavro Start by thread:\n");
    for (const bench::ThreadCpu& thread : threadsAfter) {
        const auto before = threadsBefore.find(thread.tid);
        const long long ns = thread.ns - (before == threadsBefore.end() ? 0 : before->second.ns);
        std::printf("    %-16s %8.2f ms\n", thread.name.c_str(), double(ns) / 1e6);
    }
    return 0;
}
