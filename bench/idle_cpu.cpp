// CPU time of the whole process over 60 seconds while the control box's clock
// ticks in clock mode and nothing else happens.
#include "controls/Panel.h"
#include "controls/TikClock.h"
#include "desk/ClockFace.h"
#include "platform/SystemColors.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

double processCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& time) { return double(time.tv_sec) + double(time.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void runEventLoopFor(std::chrono::milliseconds period)
{
    QEventLoop loop;
    QTimer::singleShot(period, &loop, &QEventLoop::quit);
    loop.exec();
}

void IdleClock(benchmark::State& state)
{
    // The clock in its navy panel on a black window, as the control box has it.
    QWidget window;
    window.resize(65, 67);
    auto* panel = new TPanel(&window);
    panel->setGeometry(0, 8, 65, 59);
    panel->setBevelOuter(TPanelBevel::bvNone);
    panel->setColor(QColor(0, 0, 128));
    auto* clock = new TTickingClock(panel);
    clock->setGeometry(0, 5, 64, 51);
    setUpControlBoxClock(*clock);
    window.show();
    clock->setMode(TTickingClockMode::tcmClock);
    runEventLoopFor(std::chrono::seconds(2));

    const auto measured = std::chrono::seconds(state.range(0));
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuBefore = processCpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        runEventLoopFor(measured);
        cpu = processCpuSeconds() - cpuBefore;
        wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        state.SetIterationTime(wall);
    }
    clock->setMode(TTickingClockMode::tcmIdle);
    state.counters["cpu_ms"] = cpu * 1000;
    state.counters["cpu_percent_of_one_core"] = 100 * cpu / wall;
    std::printf("Idle clock: %.1f ms of CPU time in %.1f s, %.4f %% of one core\n", cpu * 1000, wall, 100 * cpu / wall);
}

BENCHMARK(IdleClock)->Arg(60)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    platform::installClassicLook(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
