// Paths found whatever their letter case, and the folder of a program.
#include "platform/Files.h"

#include "platform/Bitmap.h"
#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::writeFile;

namespace {

TEST(Files, DataPathsAreFoundWhateverTheLetterCase)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("ConFigs/Main.ini"), "m");
    writeFile(dir.filePath("ConFigs/Alarm.wav"), "w");
    const QString start = dir.path();
    EXPECT_EQ(platform::dataPath(start, "\\ConFigs\\Main.ini"), dir.filePath("ConFigs/Main.ini"));
    EXPECT_EQ(platform::dataPath(start, "\\Configs\\Alarm.wav"), dir.filePath("ConFigs/Alarm.wav"));
    EXPECT_TRUE(platform::FileExists(start + "/configs/MAIN.INI"));
    // What matches nothing is kept as given.
    EXPECT_EQ(platform::dataPath(start, "\\Configs\\Magic.wav"), dir.filePath("ConFigs/Magic.wav"));
    EXPECT_EQ(platform::dataPath(start, "\\Nothing\\Here"), dir.filePath("Nothing/Here"));
    EXPECT_EQ(platform::dataPath(QStringLiteral("/"), "\\etc"), QStringLiteral("/etc"));
}

TEST(Files, FileExistsIsTrueForFilesOnly)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("f"), "x");
    EXPECT_TRUE(platform::FileExists(dir.filePath("f")));
    EXPECT_FALSE(platform::FileExists(dir.path()));
    EXPECT_FALSE(platform::FileExists(dir.filePath("g")));
    EXPECT_FALSE(platform::FileExists(QString()));
}

TEST(Files, FolderOfAProgramKeepsTheRootSeparator)
{
    EXPECT_EQ(platform::folderOf("/usr/bin/xterm"), "/usr/bin");
    EXPECT_EQ(platform::folderOf("/xterm"), "/");
    EXPECT_EQ(platform::folderOf("xterm"), "");
}

TEST(Files, SetCurrentFolderFailureRaisesTheInOutError)
{
    const QString before = QDir::currentPath();
    EXPECT_THROW(platform::setCurrentFolder("/nonexistent/folder"), rtl::EInOutError);
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST(Bitmap, LoadsBitmapsOnlyWithTheRuntimeMessages)
{
    QTemporaryDir dir;
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dir.filePath("good.bmp"), "BMP"));
    ASSERT_TRUE(image.save(dir.filePath("png.bmp"), "PNG"));
    writeFile(dir.filePath("broken.bmp"), QByteArray("BM") + QByteArray(60, '\x7f'));

    EXPECT_EQ(platform::loadBitmapFile(dir.filePath("good.bmp")).size(), QSize(5, 3));
    EXPECT_EQ(platform::loadBitmapFile(dir.filePath("GOOD.BMP")).size(), QSize(5, 3));
    for (const char* name : { "png.bmp", "broken.bmp" }) {
        try {
            platform::loadBitmapFile(dir.filePath(name));
            ADD_FAILURE() << name;
        } catch (const rtl::EInvalidGraphic& error) {
            EXPECT_EQ(error.message(), "Bitmap image is not valid");
        }
    }
    try {
        platform::loadBitmapFile(dir.filePath("none.bmp"));
        FAIL();
    } catch (const rtl::EFOpenError& error) {
        EXPECT_EQ(error.message(), "Cannot open file " + dir.filePath("none.bmp"));
    }
    // A failed load keeps the picture it had.
    platform::TBitmap bitmap;
    int changes = 0;
    bitmap.OnChange = [&] { ++changes; };
    bitmap.LoadFromFile(dir.filePath("good.bmp"));
    EXPECT_THROW(bitmap.LoadFromFile(dir.filePath("png.bmp")), rtl::EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(changes, 1);
}

} // namespace
