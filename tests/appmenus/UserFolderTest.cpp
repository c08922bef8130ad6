// The user's start folder, the log-in entry, the XDG folders, the synthesised
// sounds and the program's icon.
#include "appmenus/UserFolder.h"

#include "appmenus/Autostart.h"
#include "appmenus/DemoSounds.h"
#include "appmenus/DesktopEntry.h"
#include "platform/XdgPaths.h"
#include "rtl/Errors.h"
#include "support/MadeUpApplications.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::readFile;
using testing_support::ScopedEnvironment;
using testing_support::writeFile;

namespace {

TEST(XdgPaths, EnvironmentFoldersCountOnlyWhenAbsolute)
{
    ScopedEnvironment home("HOME", "/home/someone");
    {
        ScopedEnvironment data("XDG_DATA_HOME", QByteArray());
        ScopedEnvironment config("XDG_CONFIG_HOME", "relative/config");
        ScopedEnvironment dirs("XDG_DATA_DIRS", QByteArray());
        EXPECT_EQ(xdg::dataHome(), "/home/someone/.local/share");
        EXPECT_EQ(xdg::configHome(), "/home/someone/.config");
        EXPECT_EQ(xdg::dataDirs(), QStringList({ "/usr/local/share", "/usr/share" }));
        EXPECT_EQ(xdg::programDataFolder(), "/home/someone/.local/share/kavro-start");
    }
    ScopedEnvironment data("XDG_DATA_HOME", "/data/");
    ScopedEnvironment config("XDG_CONFIG_HOME", "/config");
    ScopedEnvironment dirs("XDG_DATA_DIRS", "/a/::relative:/b/:/a");
    EXPECT_EQ(xdg::configHome(), "/config");
    EXPECT_EQ(xdg::programConfigFolder(), "/config/kavro-start");
    EXPECT_EQ(xdg::dataSearchList(), QStringList({ "/data", "/a", "/b" }));
}

class UserFolder : public ::testing::Test {
protected:
    MadeUpApplications tree;
    MadeUpSession environment { tree };
    QString folder = xdg::programDataFolder();
    QString notesProgram = tree.root() + "/bin/PinNotes";
};

TEST_F(UserFolder, FirstUseMakesAPrivateFolderWithMenusSoundsAndTheNoteProgram)
{
    writeFile(notesProgram, "#!/bin/sh\n");
    const QStringList made = prepareUserFolder(folder, notesProgram);
    EXPECT_EQ(folder, tree.home() + "/.local/share/kavro-start");
    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    for (const char* piece :
        { "ConFigs/Main.ini", "ConFigs/Internet-2.ini", "ConFigs/Alarm.wav", "ConFigs/Magic.wav", "PinNotes" })
        EXPECT_TRUE(made.contains(folder + "/" + piece)) << piece;
    EXPECT_EQ(QFileInfo(folder + "/PinNotes").symLinkTarget(), notesProgram);
    EXPECT_EQ(readFile(folder + "/ConFigs/Alarm.wav"), alarmWave());
    EXPECT_EQ(readFile(folder + "/ConFigs/Magic.wav"), magicWave());
    // The menus come from the environment's applications, names in its locale.
    const QByteArray menu = readFile(folder + "/ConFigs/Main.ini");
    EXPECT_TRUE(menu.contains("\r\nRechner\r\n"));
    EXPECT_TRUE(menu.contains("\r\nMy Editor\r\n"));
    EXPECT_FALSE(menu.contains("KDE Only"));
}

TEST_F(UserFolder, AnExistingFolderIsNeverOverwrittenOnlyCompleted)
{
    writeFile(folder + "/configs/main.ini", "my own menu");
    writeFile(folder + "/configs/MAGIC.WAV", "my own sound");
    ASSERT_TRUE(QFile::link("/nowhere/PinNotes", folder + "/PinNotes"));
    const QStringList made = prepareUserFolder(folder, notesProgram);
    EXPECT_EQ(made, QStringList { folder + "/configs/Alarm.wav" });
    EXPECT_EQ(readFile(folder + "/configs/main.ini"), "my own menu");
    EXPECT_EQ(readFile(folder + "/configs/MAGIC.WAV"), "my own sound");
    EXPECT_FALSE(QFileInfo::exists(folder + "/Launchers"));
    EXPECT_TRUE(prepareUserFolder(folder, notesProgram).isEmpty());
}

TEST_F(UserFolder, AFolderThatCannotBeMadeRaisesAnError)
{
    writeFile(tree.root() + "/blocked", "a file where a folder belongs");
    EXPECT_THROW(prepareUserFolder(tree.root() + "/blocked/kavro-start", notesProgram), rtl::Exception);
}

TEST_F(UserFolder, AutostartWritesAnEntryThatStartsTheUserFolderAndRemovesIt)
{
    ScopedEnvironment config("XDG_CONFIG_HOME", (tree.root() + "/config").toUtf8());
    const QString program = "/opt/Kavro Start/bin/KavroStart";
    setAutostart(true, program);
    const QString entryPath = tree.root() + "/config/autostart/kavro-start.desktop";
    ASSERT_EQ(autostartEntryPath(), entryPath);
    const DesktopEntry entry = DesktopEntry::parse(readFile(entryPath));
    EXPECT_EQ(entry.value("Type"), "Application");
    EXPECT_EQ(entry.value("Name"), "Kavro Start");
    EXPECT_EQ(splitExec(entry.value("Exec")), QStringList({ program, "--user-folder" }));
    setAutostart(false, program);
    EXPECT_FALSE(QFileInfo::exists(entryPath));
    EXPECT_NO_THROW(setAutostart(false, program));

    writeFile(tree.root() + "/blocked", "not a folder");
    ScopedEnvironment blocked("XDG_CONFIG_HOME", (tree.root() + "/blocked").toUtf8());
    EXPECT_THROW(setAutostart(true, program), rtl::Exception);
}

// The installed desktop entries pass the desktop's own checker where it is installed.
TEST(DesktopFiles, TheInstalledAndTheAutostartEntriesAreValid)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("kavro-start.desktop"), autostartEntry("/usr/bin/KavroStart"));
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate (desktop-file-utils) is not installed";
    for (const QString& file :
        { QStringLiteral(KAVRO_SOURCE_DIR "/data/kavro-start.desktop"), dir.filePath("kavro-start.desktop") }) {
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(validator, { file });
        ASSERT_TRUE(check.waitForFinished(10000));
        // Clean: not even a warning or a hint.
        EXPECT_EQ(check.exitCode(), 0) << file.toStdString();
        EXPECT_EQ(check.readAll().toStdString(), "") << file.toStdString();
    }
}

TEST(DemoSounds, AreTheDemoFoldersSoundsSampleForSample)
{
    QTemporaryDir demo;
    QProcess maker;
    maker.start("python3", { KAVRO_SOURCE_DIR "/scripts/make-demo.py", demo.path() });
    ASSERT_TRUE(maker.waitForFinished(60000));
    ASSERT_EQ(maker.exitCode(), 0) << maker.readAllStandardError().toStdString();
    EXPECT_EQ(readFile(demo.filePath("ConFigs/Alarm.wav")), alarmWave());
    EXPECT_EQ(readFile(demo.filePath("ConFigs/Magic.wav")), magicWave());
}

TEST(ProgramIcon, TheBitmapIconIsTheScalableOneRenderedAt48Pixels)
{
    const QImage png(KAVRO_SOURCE_DIR "/data/kavro-start-48.png");
    ASSERT_EQ(png.size(), QSize(48, 48));
    QImageReader reader(KAVRO_SOURCE_DIR "/data/kavro-start.svg");
    reader.setScaledSize(QSize(48, 48));
    const QImage svg = reader.read().convertToFormat(png.format());
    ASSERT_FALSE(svg.isNull()) << reader.errorString().toStdString();
    int differing = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const QColor a = png.pixelColor(x, y), b = svg.pixelColor(x, y);
            differing += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue())
                    + std::abs(a.alpha() - b.alpha())
                > 24;
        }
    EXPECT_LE(differing, 10);
    // A navy face and yellow hands.
    EXPECT_EQ(png.pixelColor(12, 34), QColor(0, 0, 128));
    EXPECT_EQ(png.pixelColor(30, 20).rgb(), QColor(255, 255, 0).rgb());
}

} // namespace
