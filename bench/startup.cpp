// Start-up under a real X server: time to the control box's first paint,
// and resident memory once start-up is done, against the smallest Qt window
// on the same machine. The start folder's menu has a picture on every gadget.
#include "support/BenchRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

struct Sample {
    double ms = 0;
    long kib = 0;
};

Sample runOnce(const QString& program, const bench::BenchRun& run)
{
    QProcess process;
    QProcessEnvironment env = run.environment();
    env.insert("KAVRO_REPORT_SHOWN", "1");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(run.startFolder());
    QElapsedTimer timer;
    timer.start();
    process.start(program, {});
    Sample sample;
    while (sample.kib == 0 && (process.canReadLine() || process.waitForReadyRead(10000))) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            if (line == "shown")
                sample.ms = double(timer.nsecsElapsed()) / 1e6;
            else if (line.startsWith("idle "))
                sample.kib = line.mid(5).toLong();
        }
    }
    process.waitForFinished(10000);
    return sample;
}

Sample minimal, kavro;

void measure(benchmark::State& state, const QString& program, const bench::BenchRun& run, Sample& total)
{
    Sample sum;
    int runs = 0;
    for (auto _ : state) {
        const Sample s = runOnce(program, run);
        if (s.kib <= 0 || s.ms <= 0) {
            state.SkipWithError("the program did not report its first paint");
            return;
        }
        state.SetIterationTime(s.ms / 1000.0);
        sum.ms += s.ms;
        sum.kib += s.kib;
        ++runs;
    }
    total = { sum.ms / runs, sum.kib / runs };
    state.counters["resident_kB"] = double(total.kib);
}

} // namespace

int main(int argc, char** argv)
{
    const bench::BenchRun run;
    if (!run.ok())
        return 1;
    QCoreApplication app(argc, argv);
    benchmark::RegisterBenchmark("MinimalQtWindow",
        [&](benchmark::State& s) { measure(s, bench::BenchRun::minimalWindowProgram(), run, minimal); })
        ->UseManualTime()
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "KavroStartControlBox", [&](benchmark::State& s) { measure(s, bench::BenchRun::kavroProgram(), run, kavro); })
        ->UseManualTime()
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (minimal.ms > 0 && kavro.ms > 0) {
        std::printf("Start-up on %s\n", run.display().description().c_str());
        std::printf("  first paint:      control box %7.1f ms, minimal window %7.1f ms: ratio %.2f (aim <= 1.25)\n",
            kavro.ms, minimal.ms, kavro.ms / minimal.ms);
        std::printf("  resident memory:  control box %7ld kB, minimal window %7ld kB: ratio %.2f (aim <= 1.15)\n",
            kavro.kib, minimal.kib, double(kavro.kib) / double(minimal.kib));
    }
    return 0;
}
