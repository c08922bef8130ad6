// Benchmark start folder.
#include "StartFolder.h"

#include "platform/FileIO.h"
#include "rtl/TextFile.h"
#include "session/Menu.h"

#include <QDir>
#include <QImage>
#include <cstdio>

namespace bench {

namespace {

// The stored colour value of an RGB colour: red in the lowest byte.
QByteArray stored(int red, int green, int blue) { return QByteArray::number(red | (green << 8) | (blue << 16)); }

bool writePictures(const QDir& folder, int shade)
{
    for (int n = 1; n <= menufile::GadgetCount; ++n) {
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(qRgb(0, 128, 128));
        for (int i = 2; i < 14; ++i) {
            picture.setPixel(i, i, qRgb(shade, 0, 0));
            picture.setPixel(15 - i, i, qRgb(4 * n, 255 - 4 * n, shade));
        }
        if (!picture.save(folder.filePath(QStringLiteral("Pictures/m%1p%2.bmp").arg(shade).arg(n)), "BMP"))
            return false;
    }
    return true;
}

QByteArray menuText(const QDir& folder, const QString& title, const QString& other, int shade)
{
    QList<QByteArray> lines { title.toLocal8Bit() };
    for (int n = 1; n <= menufile::GadgetCount; ++n) {
        const QString picture = folder.filePath(QStringLiteral("Pictures/m%1p%2.bmp").arg(shade).arg(n));
        lines << (n == 1 ? "Menu" : "None") << (n == 1 ? other.toLocal8Bit() : QByteArray())
              << title.toLocal8Bit() + ' ' + QByteArray::number(n) << stored(4 * n, 128, 255 - 4 * n - shade) << "Arial"
              << stored(shade, 0, 0) << picture.toLocal8Bit() << QByteArray::number(n % 2);
    }
    lines << "One"
          << "Two"
          << "Three"
          << "Four";
    return rtl::joinCrLf(lines);
}

} // namespace

QString mainMenuPath(const QString& root) { return QDir(root).filePath(QStringLiteral("ConFigs/Main.ini")); }

QString secondMenuPath(const QString& root) { return QDir(root).filePath(QStringLiteral("ConFigs/Second.ini")); }

bool writeStartFolder(const QString& root)
{
    const QDir folder(root);
    if (!folder.mkpath(QStringLiteral("ConFigs")) || !folder.mkpath(QStringLiteral("Pictures")))
        return false;
    if (!writePictures(folder, 0) || !writePictures(folder, 60))
        return false;
    try {
        platform::replaceFileAtomically(mainMenuPath(root), menuText(folder, "Main", secondMenuPath(root), 0));
        platform::replaceFileAtomically(secondMenuPath(root), menuText(folder, "Second", mainMenuPath(root), 60));
    } catch (...) {
        return false;
    }
    return true;
}

TemporaryStartFolder::TemporaryStartFolder()
    : ok_(folder_.isValid() && writeStartFolder(folder_.path()))
{
    if (!ok_)
        std::fprintf(stderr, "cannot write the benchmark's start folder\n");
}

} // namespace bench
