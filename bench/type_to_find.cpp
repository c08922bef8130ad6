// Typing to find on the launcher over 20 menus of 56 gadgets, under a real
// X server: the time from a key to its answer on the screen (the marks
// painted and the X server holding the pixels), for the first key of a
// search, which also reads the 20 menus, and for a key after it. Each must
// stay within one frame of a 60 Hz screen. The reading and the matching on
// their own are measured too, for the share they take.
#include "app/Application.h"
#include "controls/PaintSeen.h"
#include "launcher/FindMarks.h"
#include "launcher/GadgetFinder.h"
#include "launcher/MenuWalk.h"
#include "launcher/myver.h"
#include "platform/FileIO.h"
#include "platform/SystemColors.h"
#include "rtl/TextFile.h"
#include "session/Menu.h"
#include "session/Session.h"
#include "support/BenchDisplay.h"
#include "support/FailingDialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int menuCount = 20;
constexpr double frameSeconds = 1.0 / 60;

// A caption of two made-up words, different for every gadget of every menu.
QByteArray caption(int menuNumber, int n)
{
    static const char* const syllables[] = { "ka", "lo", "mi", "re", "ta", "su", "no", "vi", "de", "ra", "po", "le" };
    const auto word = [](int seed) {
        QByteArray letters;
        for (int i = 0; i < 2 + seed % 2; ++i, seed /= 12)
            letters += syllables[seed % 12];
        return letters;
    };
    const int seed = menuNumber * 56 + n;
    QByteArray text = word(seed * 7 + 3) + ' ' + word(seed * 13 + 5);
    text[0] = char(QChar::toUpper(text[0]));
    return text;
}

// ConFigs/Main.ini and Menu2.ini to Menu20.ini: the main menu's first 19
// gadgets open the others, each of which leads back to the main menu.
// Every gadget of the main menu has a picture, as menus made from the
// installed applications do.
bool writeMenus(const QDir& root)
{
    if (!root.mkpath(QStringLiteral("ConFigs")))
        return false;
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(0, 128, 128));
    const QString picturePath = root.filePath(QStringLiteral("icon.bmp"));
    if (!picture.save(picturePath, "BMP"))
        return false;
    const auto menuPath = [&](int m) {
        return m == 1 ? root.filePath(QStringLiteral("ConFigs/Main.ini"))
                      : root.filePath(QStringLiteral("Menu%1.ini").arg(m));
    };
    for (int m = 1; m <= menuCount; ++m) {
        QList<QByteArray> lines { "bench" };
        for (int n = 1; n <= menufile::GadgetCount; ++n) {
            const bool opens = (m == 1 && n < menuCount) || (m > 1 && n == 1);
            const int target = m == 1 ? n + 1 : 1;
            lines << (opens ? "Menu" : "Run") << (opens ? menuPath(target) : root.filePath("none")).toLocal8Bit()
                  << caption(m, n) << QByteArray::number(n * 4000) << ""
                  << "0" << (m == 1 ? picturePath.toLocal8Bit() : QByteArray()) << (m == 1 ? "0" : "2");
        }
        lines << "One"
              << "Two"
              << "Three"
              << "Four";
        try {
            platform::replaceFileAtomically(menuPath(m), rtl::joinCrLf(lines));
        } catch (...) {
            return false;
        }
    }
    return true;
}

TMainForm* launcher = nullptr;
QString mainMenu;
// Every key's time, for the fastest, the median and the slowest tenth: a
// loaded machine makes some keys wait for the processor, and the mean with them.
std::map<std::string, std::vector<double>> samples;

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[size_t(share * double(values.size() - 1))];
}

// Types one character on the launcher and waits until its answer is on the screen; the seconds it took.
double secondsToAnswer(char character)
{
    PaintSeen paint(launcher->Marks);
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(launcher, character);
    while (!paint.seen() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    // Reading a pixel back waits until the server has carried out everything sent before.
    launcher->screen()->grabWindow(launcher->winId(), 0, 0, 1, 1);
    return paint.seen() ? double(timer.nsecsElapsed()) / 1e9 : -1;
}

void endFinding()
{
    launcher->EndFinding();
    QCoreApplication::processEvents();
}

void FirstKeyAnswered(benchmark::State& state)
{
    for (auto _ : state) {
        endFinding();
        const double seconds = secondsToAnswer('r');
        if (seconds < 0 || launcher->OtherMenus().size() != menuCount - 1) {
            state.SkipWithError("the first key found nothing in the other menus");
            break;
        }
        samples["FirstKeyAnswered"].push_back(seconds);
        state.SetIterationTime(seconds);
    }
}

void NextKeyAnswered(benchmark::State& state)
{
    for (auto _ : state) {
        endFinding();
        secondsToAnswer('r');
        const double seconds = secondsToAnswer('e');
        if (seconds < 0 || launcher->FindText() != "re" || launcher->Found().empty()) {
            state.SkipWithError("the second key found nothing");
            break;
        }
        samples["NextKeyAnswered"].push_back(seconds);
        state.SetIterationTime(seconds);
    }
}

void ReadTwentyMenus(benchmark::State& state)
{
    for (auto _ : state) {
        const auto menus = finding::reachableMenus(mainMenu);
        if (menus.size() != menuCount) {
            state.SkipWithError("not every menu was read");
            break;
        }
    }
}

void MatchOneKey(benchmark::State& state)
{
    std::vector<QStringList> captions;
    for (const finding::ReachableMenu& menu : finding::reachableMenus(mainMenu))
        captions.push_back(menu.captions);
    const finding::GadgetFinder finder(captions);
    for (auto _ : state)
        benchmark::DoNotOptimize(finder.find(QStringLiteral("re")));
}

} // namespace

int main(int argc, char** argv)
{
    bench::BenchDisplay display;
    if (!display.ok())
        return 1;
    KavroApplication app(argc, argv);
    platform::installClassicLook(app);
    QTemporaryDir folder;
    if (!folder.isValid() || !writeMenus(QDir(folder.path()))) {
        std::fprintf(stderr, "cannot write the benchmark's menus\n");
        return 1;
    }
    bench::FailingDialogs dialogs;
    session().StartFolder = folder.path();
    mainMenu = QDir(folder.path()).filePath(QStringLiteral("ConFigs/Main.ini"));
    int result = 1;
    {
        TMainForm form;
        launcher = &form;
        form.showAndRaise();
        if (!QTest::qWaitForWindowExposed(&form))
            return 1;
        benchmark::RegisterBenchmark("FirstKeyAnswered", FirstKeyAnswered)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("NextKeyAnswered", NextKeyAnswered)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("ReadTwentyMenus", ReadTwentyMenus)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("MatchOneKey", MatchOneKey)->Unit(benchmark::kMicrosecond);
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        if (samples.size() == 2) {
            std::printf("\nOn %s, over %d menus of 56 gadgets, against a frame of %.1f ms:\n",
                display.description().c_str(), menuCount, frameSeconds * 1e3);
            result = 0;
            for (const auto& [name, seconds] : samples) {
                const double median = percentile(seconds, 0.5);
                std::printf("  %-18s fastest %6.2f ms, median %6.2f ms, nine in ten within %6.2f ms: %s\n",
                    name.c_str(), percentile(seconds, 0) * 1e3, median * 1e3, percentile(seconds, 0.9) * 1e3,
                    median <= frameSeconds ? "within a frame" : "LONGER THAN A FRAME");
                if (median > frameSeconds)
                    result = 1;
            }
        }
        launcher = nullptr;
    }
    return result;
}
