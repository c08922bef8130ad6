// Under a real X server: from a click on "Main Screen" to the launcher
// painted with 56 gadgets that all have pictures, and from a "Menu" gadget's
// click to the next menu painted, each against the time to show and paint
// one empty full-screen Qt window. "Painted" means the X server holds the
// pixels: after the paint, one pixel of the window is read back from it.
// Then from the start of a second process running `KavroStart --show
// launcher` to the launcher painted in this one, the running copy, against
// the click plus a bare start of the program (`KavroStart --version`).
#include "app/Application.h"
#include "app/Startup.h"
#include "controls/Colorbut.h"
#include "controls/PaintSeen.h"
#include "controls/TikClock.h"
#include "desk/Just1_32.h"
#include "desk/Scrollpas.h"
#include "launcher/myver.h"
#include "platform/SystemColors.h"
#include "session/Session.h"
#include "support/BenchRun.h"
#include "support/FailingDialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

// Runs `action`, then lets the event loop go on until `window` has been
// painted and the X server has the result; returns the seconds it took.
template <class Action> double secondsUntilPainted(QWidget* window, Action action)
{
    PaintSeen paint(window);
    QElapsedTimer timer;
    timer.start();
    // The loop sleeps until something happens (with a time limit it would
    // spin, and take the processor from a process it waits for); the timer
    // wakes it to give up at last.
    QTimer wake;
    wake.start(100);
    action();
    // A paint event is followed, in the same turn of the loop, by the flush to the server.
    while (!paint.seen() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // Reading a pixel back waits until the server has carried out everything sent before.
    window->screen()->grabWindow(window->winId(), 0, 0, 1, 1);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    return paint.seen() ? seconds : -1;
}

TForm1& controlBox() { return *qobject_cast<TForm1*>(session().Form1); }
TMainForm& launcher() { return *qobject_cast<TMainForm*>(session().MainForm); }

void clickOn(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }

double firstShowing = -1;

void MainScreenToLauncherPainted(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        launcher().hide();
        controlBox().showAndRaise();
        if (!controlBox().Unfolded())
            clickOn(controlBox().TickingClock1);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        const double seconds = secondsUntilPainted(&launcher(), [] { clickOn(controlBox().ColorSpeedButton3); });
        if (seconds < 0 || !launcher().isVisible()) {
            state.SkipWithError("the launcher did not paint");
            break;
        }
        if (firstShowing < 0)
            firstShowing = seconds;
        state.SetIterationTime(seconds);
    }
}

void MenuGadgetToNextMenuPainted(benchmark::State& state)
{
    launcher().showAndRaise();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        // Gadget 1 of each menu opens the other one.
        const QString before = session().Menu.MenuFileName;
        const double seconds = secondsUntilPainted(&launcher(), [] { clickOn(launcher().Gadgets[1]); });
        if (seconds < 0 || session().Menu.MenuFileName == before) {
            state.SkipWithError("the next menu did not paint");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

std::string kavroProgram() { return bench::BenchRun::kavroProgram().toStdString(); }

void BareProgramStart(benchmark::State& state)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const pid_t program = bench::spawnProcess({ kavroProgram(), "--version" });
        if (!program || bench::waitForExit(program) != 0) {
            state.SkipWithError("KavroStart --version did not end well");
            break;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}

void ShowCommandToLauncherPainted(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        launcher().hide();
        controlBox().showAndRaise();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        pid_t command = 0;
        const double seconds = secondsUntilPainted(&launcher(), [&command] {
            command = bench::spawnProcess({ kavroProgram(), "--show", "launcher" });
        });
        const bool ended = command && bench::waitForExit(command) == 0;
        if (seconds < 0 || !launcher().isVisible() || !ended) {
            state.SkipWithError("the launcher did not paint for the command");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void EmptyFullScreenWindowPainted(benchmark::State& state)
{
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setGeometry(window.screen()->geometry());
    for (auto _ : state) {
        state.PauseTiming();
        window.hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        const double seconds = secondsUntilPainted(&window, [&window] { window.show(); });
        if (seconds < 0) {
            state.SkipWithError("the window did not paint");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

// Keeps every run's time per iteration for the table of ratios.
class Collector final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred)
                seconds[run.run_name.function_name]
                    = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv)
{
    const bench::BenchRun run;
    if (!run.ok())
        return 1;
    // The program's own application object, which paints as the program does.
    KavroApplication app(argc, argv);
    platform::installClassicLook(app);
    bench::FailingDialogs dialogs;
    QDir::setCurrent(run.startFolder());
    // This process is the running copy that the command's process asks.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run.runtimeFolder()));
    TPreviousInstance probe(defaultApplicationTitle(QString::fromStdString(kavroProgram())), run.runtimeFolder());
    setPreviousInstance(&probe);
    int result = 0;
    {
        // The seven windows as start-up makes them, the control box shown.
        Windows windows;
        controlBox().showAndRaise();
        if (!QTest::qWaitForWindowExposed(&controlBox()))
            return 1;

        benchmark::RegisterBenchmark("EmptyFullScreenWindowPainted", EmptyFullScreenWindowPainted)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("MainScreenToLauncherPainted", MainScreenToLauncherPainted)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("MenuGadgetToNextMenuPainted", MenuGadgetToNextMenuPainted)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BareProgramStart", BareProgramStart)
            ->UseManualTime()
            ->Iterations(20)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("ShowCommandToLauncherPainted", ShowCommandToLauncherPainted)
            ->UseManualTime()
            ->Iterations(20)
            ->Unit(benchmark::kMillisecond);
        benchmark::Initialize(&argc, argv);
        Collector collector;
        benchmark::RunSpecifiedBenchmarks(&collector);
        const auto& s = collector.seconds;
        if (s.count("EmptyFullScreenWindowPainted")) {
            const double reference = s.at("EmptyFullScreenWindowPainted");
            std::printf("\nOn %s, against an empty full-screen Qt window shown and painted in %.2f ms:\n",
                run.display().description().c_str(), reference * 1e3);
            for (const char* name : { "MainScreenToLauncherPainted", "MenuGadgetToNextMenuPainted" })
                if (s.count(name))
                    std::printf("  %-28s %8.2f ms: ratio %.2f\n", name, s.at(name) * 1e3, s.at(name) / reference);
            if (firstShowing > 0)
                std::printf("  the launcher's first showing after start-up: %.2f ms: ratio %.2f\n", firstShowing * 1e3,
                    firstShowing / reference);
        } else {
            result = 1;
        }
        const char* show = "ShowCommandToLauncherPainted";
        const char* click = "MainScreenToLauncherPainted";
        const char* bare = "BareProgramStart";
        if (s.count(show) && s.count(click) && s.count(bare)) {
            const double aim = 1.5 * s.at(click) + s.at(bare);
            std::printf("`KavroStart --show launcher` to the launcher painted: %.2f ms, against 1.5 x a click on "
                        "\"Main Screen\" (%.2f ms) plus a bare start of the program (%.2f ms), %.2f ms: ratio %.2f "
                        "(aim <= 1)\n",
                s.at(show) * 1e3, s.at(click) * 1e3, s.at(bare) * 1e3, aim * 1e3, s.at(show) / aim);
        }
        benchmark::Shutdown();
    }
    setPreviousInstance(nullptr);
    return result;
}
