// Position memory: the file name rules, the restore and the save.
#include "desk/position.h"

#include "platform/FilePaths.h"
#include "platform/Screen.h"
#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

// A window named Form1 whose program file lies in a temporary folder, on a 1024 x 768 screen.
class PositionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        platform::setProgramFilePathForTesting(folder.filePath(QStringLiteral("KavroStart")));
        platform::setScreenSizeForTesting(QSize(1024, 768));
        owner.setObjectName(QStringLiteral("Form1"));
        owner.resize(130, 67);
    }
    void TearDown() override
    {
        platform::setProgramFilePathForTesting(std::nullopt);
        platform::setScreenSizeForTesting(std::nullopt);
    }

    QString iniPath(const QString& name = QStringLiteral("k-prefs.ini")) const { return folder.filePath(name); }

    // A position memory on `owner` using k-prefs.ini.
    TPosition& prefs()
    {
        auto* position = new TPosition(&owner); // owned by `owner`
        position->setIniFileName(QStringLiteral("k-prefs.ini"));
        return *position;
    }

    QTemporaryDir folder;
    QWidget owner;
};

TEST_F(PositionTest, IniFileNameTakesOnlyShortNamesEndingInDotIniAndKeepsThemLowerCased)
{
    struct Case {
        const char* given;
        const char* kept;
    };
    const Case cases[] = {
        { "Prefs.INI", "Form1.ini" }, // the extension is compared exactly
        { "MyPrefs.ini", "myprefs.ini" }, // stored lower-cased
        { "VeryLongName.ini", "Form1.ini" }, // 16 characters
        { "abcdefgh.ini", "abcdefgh.ini" }, // 12 characters is the most
        { "abcdefghi.ini", "Form1.ini" },
        { "prefs", "Form1.ini" },
        { "prefs.ini.bak", "Form1.ini" },
        { "A.b.INI.ini", "a.b.ini.ini" },
    };
    for (const Case& c : cases) {
        TPosition position(&owner);
        // The default is the owner's name, which never went through the setter.
        ASSERT_EQ(position.IniFileName(), QStringLiteral("Form1.ini"));
        position.setIniFileName(QString::fromLatin1(c.given));
        EXPECT_EQ(position.IniFileName(), QString::fromLatin1(c.kept)) << c.given;
    }
}

TEST_F(PositionTest, TheFileLiesBesideTheProgramFileOrInTheSettingsFolder)
{
    TPosition& position = prefs();
    EXPECT_EQ(position.iniFilePath(), iniPath());
    position.setIniFileDirectory(TIniFileDirectory::WindowsDir);
    EXPECT_TRUE(position.iniFilePath().endsWith(QStringLiteral("/k-prefs.ini")));
    EXPECT_NE(position.iniFilePath(), iniPath());
}

TEST_F(PositionTest, RestoreReadsDecimalAndHexadecimalAndFallsBackPerKey)
{
    struct Case {
        const char* file;
        QRect expected; // left, top, width, height
    };
    // Defaults: the current 130 x 67, centred by the size just restored.
    const Case cases[] = {
        { "[Values]\r\nLeft=-20\r\nTop=5000\r\n", QRect(-20, 5000, 130, 67) },
        { "[Values]\r\nWidth=0x50\r\n", QRect(472, 350, 80, 67) },
        { "[Values]\r\nWidth=$50\r\nHeight=$64\r\n", QRect(472, 334, 80, 100) },
        { "[VALUES]\r\nwidth = 200\r\nHEIGHT=90\r\nleft=3\r\ntop=4\r\n", QRect(3, 4, 200, 90) },
        { "[Values]\r\nWidth=\r\nHeight=abc\r\nLeft=12x\r\nTop= 7\r\n", QRect(447, 7, 130, 67) },
        { "[Other]\r\nLeft=1\r\nTop=2\r\n", QRect(447, 350, 130, 67) },
    };
    for (const Case& c : cases) {
        writeFile(iniPath(), c.file);
        owner.resize(130, 67);
        prefs().Restore();
        EXPECT_EQ(QRect(owner.pos(), owner.size()), c.expected) << c.file;
    }
}

TEST_F(PositionTest, WithNoFileTheWindowIsCentredOnThePrimaryScreen)
{
    prefs().Restore();
    EXPECT_EQ(owner.pos(), QPoint(447, 350));
    EXPECT_EQ(owner.size(), QSize(130, 67));
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(PositionTest, SaveToIniWritesWidthHeightLeftTopInOrder)
{
    owner.setGeometry(-20, 5000, 65, 80);
    prefs().SaveToIni();
    EXPECT_EQ(readFile(iniPath()), QByteArray("[Values]\r\nWidth=65\r\nHeight=80\r\nLeft=-20\r\nTop=5000\r\n"));

    // What was saved comes back.
    owner.setGeometry(0, 0, 10, 10);
    prefs().Restore();
    EXPECT_EQ(QRect(owner.pos(), owner.size()), QRect(-20, 5000, 65, 80));
}

TEST_F(PositionTest, SaveToIniKeepsOtherSectionsCommentsAndKeys)
{
    writeFile(iniPath(),
        "; written by hand\r\n[Colours]\r\nFace=12\r\n\r\n[values]\r\nTop=1\r\nExtra=yes\r\n"
        "Left=2\r\n[Last]\r\nKey=value\r\n");
    owner.setGeometry(30, 40, 65, 67);
    prefs().SaveToIni();
    EXPECT_EQ(readFile(iniPath()),
        QByteArray("; written by hand\r\n[Colours]\r\nFace=12\r\n\r\n[values]\r\nTop=40\r\n"
                   "Extra=yes\r\nLeft=30\r\nWidth=65\r\nHeight=67\r\n[Last]\r\nKey=value\r\n"));
}

TEST_F(PositionTest, SaveDimensionAndSavePositionChooseWhatIsKept)
{
    writeFile(iniPath(), "[Values]\r\nWidth=200\r\nHeight=90\r\nLeft=3\r\nTop=4\r\n");
    TPosition& sizeOnly = prefs();
    sizeOnly.setSavePosition(false);
    owner.move(500, 500);
    sizeOnly.Restore();
    EXPECT_EQ(QRect(owner.pos(), owner.size()), QRect(500, 500, 200, 90));

    TPosition& placeOnly = prefs();
    placeOnly.setSaveDimension(false);
    owner.resize(130, 67);
    placeOnly.Restore();
    EXPECT_EQ(QRect(owner.pos(), owner.size()), QRect(3, 4, 130, 67));

    owner.setGeometry(7, 8, 65, 67);
    placeOnly.SaveToIni();
    EXPECT_EQ(readFile(iniPath()), QByteArray("[Values]\r\nWidth=200\r\nHeight=90\r\nLeft=7\r\nTop=8\r\n"));
}

TEST_F(PositionTest, BesideAProgramInAFolderThatIsNotWritableTheFileLivesInTheUsersConfiguration)
{
    // The program's folder is a regular file, so nothing can be written beneath it.
    writeFile(folder.filePath(QStringLiteral("blocked")), "not a folder");
    platform::setProgramFilePathForTesting(folder.filePath(QStringLiteral("blocked/KavroStart")));
    testing_support::ScopedEnvironment config("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    const QString file = folder.filePath(QStringLiteral("config/kavro-start/k-prefs.ini"));
    EXPECT_EQ(prefs().iniFilePath(), file);
    owner.setGeometry(-20, 30, 65, 80);
    prefs().SaveToIni();
    EXPECT_EQ(readFile(file), QByteArray("[Values]\r\nWidth=65\r\nHeight=80\r\nLeft=-20\r\nTop=30\r\n"));
    owner.setGeometry(0, 0, 10, 10);
    prefs().Restore();
    EXPECT_EQ(QRect(owner.pos(), owner.size()), QRect(-20, 30, 65, 80));
}

TEST_F(PositionTest, AnInstalledCopyKeepsTheFileInTheUsersConfigurationEvenWhereItCouldWriteBesideItself)
{
    testing_support::ScopedEnvironment config("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    const QString configured = folder.filePath(QStringLiteral("config/kavro-start/k-prefs.ini"));
    const struct {
        const char* program;
        QStringList modules;
        bool beside;
    } layouts[] = {
        // Installed: the module in the prefix's module folder, not beside the program.
        { "installed/usr/bin/KavroStart", { "installed/usr/lib/kavro-start/kavro_sound.so" }, false },
        // A build tree: the module beside the program wins over one in such a folder.
        { "tree/build/KavroStart", { "tree/build/kavro_sound.so", "tree/lib/kavro-start/kavro_sound.so" }, true },
        { "other/tools/KavroStart", {}, true },
    };
    for (const auto& layout : layouts) {
        const QString program = folder.filePath(QLatin1String(layout.program));
        writeFile(program, "");
        for (const QString& module : layout.modules)
            writeFile(folder.filePath(module), "");
        platform::setProgramFilePathForTesting(program);
        EXPECT_EQ(prefs().iniFilePath(),
            layout.beside ? platform::folderOf(program) + QStringLiteral("/k-prefs.ini") : configured)
            << layout.program;
    }
}

TEST_F(PositionTest, AnUnwritableFileRaisesUnableToWrite)
{
    // Neither the program's folder nor the configuration folder can be written.
    writeFile(folder.filePath(QStringLiteral("blocked")), "not a folder");
    platform::setProgramFilePathForTesting(folder.filePath(QStringLiteral("blocked/KavroStart")));
    testing_support::ScopedEnvironment config("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("blocked")).toUtf8());
    TPosition& position = prefs();
    try {
        position.SaveToIni();
        ADD_FAILURE() << "no error raised";
    } catch (const rtl::EIniFileException& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to %1").arg(position.iniFilePath()));
        EXPECT_TRUE(error.message().endsWith(QStringLiteral("blocked/kavro-start/k-prefs.ini")));
    }
}

} // namespace
