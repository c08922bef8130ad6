// Launcher test fixture.
#include "support/WindowsFixture.h"

#include "platform/Screen.h"
#include "rtl/TextFile.h"

#include <QFile>
#include <QImage>
#include <sys/stat.h>

void WindowsFixture::start(const QList<QByteArray>& mainMenu)
{
    ASSERT_TRUE(dir_.isValid());
    if (!mainMenu.isEmpty())
        writeMenu("ConFigs/Main.ini", mainMenu);
    inDir_.emplace(dir_.path());
    platform::setScreenSizeForTesting(QSize(1024, 768));
    resetSession();
    windows_ = std::make_unique<Windows>();
}

void WindowsFixture::TearDown()
{
    windows_.reset();
    resetSession();
    platform::setScreenSizeForTesting(std::nullopt);
    inDir_.reset();
}

void WindowsFixture::writeMenu(const QString& relative, const QList<QByteArray>& lines) const
{
    testing_support::writeFile(path(relative), rtl::joinCrLf(lines));
}

QString WindowsFixture::writeBitmap(const QString& relative, QSize size, QColor colour) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QString file = path(relative);
    QDir().mkpath(QFileInfo(file).absolutePath());
    EXPECT_TRUE(image.save(file, "BMP"));
    return file;
}

QString WindowsFixture::writeRecorderScript(const QString& relative) const
{
    QString script = path(relative);
    const QString record = script + ".ran";
    testing_support::writeFile(
        script, QStringLiteral("#!/bin/sh\npwd > '%1.tmp' && mv '%1.tmp' '%1'\n").arg(record).toUtf8());
    chmod(QFile::encodeName(script).constData(), 0755);
    return script;
}
