// Paths found whatever their letter case, and the folder of a program.
#include "platform/FilePaths.h"

#include "platform/Bitmap.h"
#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::writeFile;

namespace {

TEST(FilePaths, DataPathsAreFoundWhateverTheLetterCase)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("ConFigs/Main.ini"), "m");
    writeFile(dir.filePath("ConFigs/Alarm.wav"), "w");
    const QString start = dir.path();
    EXPECT_EQ(platform::dataPath(start, "\\ConFigs\\Main.ini"), dir.filePath("ConFigs/Main.ini"));
    EXPECT_EQ(platform::dataPath(start, "\\Configs\\Alarm.wav"), dir.filePath("ConFigs/Alarm.wav"));
    EXPECT_TRUE(platform::fileExistsIgnoringCase(start + "/configs/MAIN.INI"));
    // What matches nothing is kept as given.
    EXPECT_EQ(platform::dataPath(start, "\\Configs\\Magic.wav"), dir.filePath("ConFigs/Magic.wav"));
    EXPECT_EQ(platform::dataPath(start, "\\Nothing\\Here"), dir.filePath("Nothing/Here"));
    EXPECT_EQ(platform::dataPath(QStringLiteral("/"), "\\etc"), QStringLiteral("/etc"));
}

TEST(FilePaths, FileExistsIgnoringCaseIsTrueForFilesOnly)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("f"), "x");
    EXPECT_TRUE(platform::fileExistsIgnoringCase(dir.filePath("f")));
    EXPECT_FALSE(platform::fileExistsIgnoringCase(dir.path()));
    EXPECT_FALSE(platform::fileExistsIgnoringCase(dir.filePath("g")));
    EXPECT_FALSE(platform::fileExistsIgnoringCase(QString()));
}

TEST(FilePaths, FolderOfAProgramKeepsTheRootSeparator)
{
    EXPECT_EQ(platform::folderOf("/usr/bin/xterm"), "/usr/bin");
    EXPECT_EQ(platform::folderOf("/xterm"), "/");
    EXPECT_EQ(platform::folderOf("xterm"), "");
}

TEST(FilePaths, SetCurrentFolderFailureRaisesTheInOutError)
{
    const testing_support::ScopedCurrentFolder keep;
    EXPECT_THROW(platform::setCurrentFolder("/nonexistent/folder"), rtl::EInOutError);
    EXPECT_EQ(QDir::currentPath(), keep.previous());
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

TEST(Bitmap, ReadsOnlyRegularFilesOfAPlausibleSize)
{
    QTemporaryDir dir;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(dir.filePath("good.bmp"), "BMP"));
    const QByteArray good = testing_support::readFile(dir.filePath("good.bmp"));
    writeFile(dir.filePath("cut.bmp"), good.left(good.size() - 4)); // declares more than it holds
    QByteArray undeclared = good.left(good.size() - 4); // declares no size, but rows it lacks
    undeclared.replace(2, 4, QByteArray(4, '\0'));
    writeFile(dir.filePath("cut-rows.bmp"), undeclared);
    // A small picture at the head of a file larger than any picture is taken to be.
    writeFile(dir.filePath("huge.bmp"), good);
    ASSERT_EQ(::truncate(QFile::encodeName(dir.filePath("huge.bmp")).constData(), 65 << 20), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.bmp")).constData(), 0600), 0);

    struct Case {
        QString path;
        const char* error;
    };
    const Case cases[] = {
        { QStringLiteral("/dev/zero"), "Cannot open file /dev/zero" },
        { dir.filePath("pipe.bmp"), "Cannot open file %1" },
        { dir.path(), "Cannot open file %1" },
        { dir.filePath("cut.bmp"), "Bitmap image is not valid" },
        { dir.filePath("cut-rows.bmp"), "Bitmap image is not valid" },
        { dir.filePath("huge.bmp"), "Bitmap image is not valid" },
    };
    // In a child: what loads a pipe or a device whole would wait or grow for good.
    const auto result = testing_support::runInChild([&] {
        // A writer that never writes keeps the pipe open.
        const int writer = ::open(QFile::encodeName(dir.filePath("pipe.bmp")).constData(), O_RDWR | O_NONBLOCK);
        bool all = writer >= 0;
        for (const Case& c : cases) {
            try {
                platform::loadBitmapFile(c.path);
                all = false;
            } catch (const rtl::Exception& error) {
                all = all && error.message() == QString::fromLatin1(c.error).arg(c.path);
            }
        }
        return all;
    });
    EXPECT_EQ(result, testing_support::ChildResult::Passed);
    EXPECT_EQ(platform::loadBitmapFile(dir.filePath("good.bmp")).size(), QSize(4, 4));
}

} // namespace
