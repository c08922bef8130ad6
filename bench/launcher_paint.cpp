// Builds the launcher screen on a 56-gadget menu whose gadgets all carry
// 16 x 16 pictures, applies it and paints it once; afterwards the button
// pictures must share a single image list.
#include "controls/GlyphCache.h"
#include "launcher/myver.h"
#include "platform/Screen.h"
#include "platform/SystemColors.h"
#include "session/Session.h"
#include "support/FailingDialogs.h"
#include "support/StartFolder.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

int listsAfterPaint = -1;

void BM_LauncherApplyAndPaint(benchmark::State& state)
{
    for (auto _ : state) {
        TMainForm form; // loads and applies ConFigs/Main.ini as it is created
        QImage screen(form.size(), QImage::Format_RGB32);
        form.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
        const TGlyphCache* cache = TGlyphCache::instance();
        listsAfterPaint = cache ? cache->ListCount() : 0;
        if (listsAfterPaint != 1) {
            state.SkipWithError("the gadget pictures do not share one image list");
            break;
        }
    }
    state.counters["image_lists"] = listsAfterPaint;
}
BENCHMARK(BM_LauncherApplyAndPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    platform::installClassicLook(app);
    platform::setScreenSizeForTesting(QSize(1024, 768));
    const bench::TemporaryStartFolder folder;
    if (!folder.ok())
        return 1;
    session().StartFolder = folder.path();
    bench::FailingDialogs dialogs;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("image lists in the cache after painting the launcher: %d\n", listsAfterPaint);
    return listsAfterPaint == 1 ? 0 : 1;
}
