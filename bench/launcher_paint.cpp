// Builds the launcher screen on a 56-gadget menu whose gadgets all carry
// 16 x 16 pictures, applies it and paints it once; afterwards the button
// pictures must share a single image list.
#include "app/Session.h"
#include "controls/GlyphCache.h"
#include "launcher/myver.h"
#include "platform/Dialogs.h"
#include "platform/Screen.h"
#include "platform/SystemColors.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

int listsAfterPaint = -1;

// Any message box means the menu or a picture did not load: the run is void.
class FailingDialogs final : public platform::Dialogs {
public:
    void information(const QString& caption, const QString& text) override { fail(caption + ": " + text); }
    void error(const QString& text) override { fail(text); }

private:
    static void fail(const QString& message)
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(message));
        std::exit(1);
    }
};

// The stored colour value of an RGB colour: red in the lowest byte.
QByteArray stored(int red, int green, int blue) { return QByteArray::number(red | (green << 8) | (blue << 16)); }

bool writeStartFolder(const QString& root)
{
    QDir folder(root);
    if (!folder.mkpath(QStringLiteral("ConFigs")) || !folder.mkpath(QStringLiteral("Pictures")))
        return false;
    QList<QByteArray> lines { "Launcher paint benchmark" };
    for (int n = 1; n <= 56; ++n) {
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(qRgb(0, 128, 128));
        for (int i = 2; i < 14; ++i) {
            picture.setPixel(i, i, qRgb(0, 0, 0));
            picture.setPixel(15 - i, i, qRgb(4 * n, 255 - 4 * n, 0));
        }
        const QString path = folder.filePath(QStringLiteral("Pictures/p%1.bmp").arg(n));
        if (!picture.save(path, "BMP"))
            return false;
        lines << "None"
              << ""
              << "Gadget " + QByteArray::number(n) << stored(4 * n, 128, 255 - 4 * n) << "Arial" << stored(0, 0, 0)
              << path.toLocal8Bit() << QByteArray::number(n % 2);
    }
    lines << "One"
          << "Two"
          << "Three"
          << "Four";
    QFile menu(folder.filePath(QStringLiteral("ConFigs/Main.ini")));
    if (!menu.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArray& line : lines)
        menu.write(line + "\r\n");
    return menu.error() == QFileDevice::NoError;
}

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
    QTemporaryDir folder;
    if (!folder.isValid() || !writeStartFolder(folder.path())) {
        std::fprintf(stderr, "cannot write the benchmark's start folder\n");
        return 1;
    }
    session().StartFolder = folder.path();
    FailingDialogs dialogs;
    platform::setDialogs(&dialogs);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::setDialogs(nullptr);
    std::printf("image lists in the cache after painting the launcher: %d\n", listsAfterPaint);
    return listsAfterPaint == 1 ? 0 : 1;
}
