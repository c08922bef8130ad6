// The program's command line, run as a process of its own.
#include "KavroBuild.h"
#include "support/MadeUpApplications.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

// The environment of a desktop session on the made-up applications, with no display at all.
QProcessEnvironment sessionEnvironment(const MadeUpApplications& tree)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME", "XDG_CONFIG_HOME" })
        env.remove(name);
    env.insert("HOME", tree.home());
    env.insert("XDG_DATA_DIRS", tree.dataDirs().join(u':'));
    env.insert("XDG_CURRENT_DESKTOP", MadeUpApplications::desktop());
    env.insert("LC_ALL", MadeUpApplications::locale());
    env.insert("PATH", tree.bin() + ":/usr/bin:/bin");
    env.insert("XDG_RUNTIME_DIR", tree.root());
    env.insert("KAVRO_DIALOGS", "print");
    return env;
}

Result run(const MadeUpApplications& tree, const QStringList& arguments)
{
    QProcess program;
    program.setProcessEnvironment(sessionEnvironment(tree));
    program.setWorkingDirectory(tree.root());
    program.start(QStringLiteral(KAVRO_PROGRAM), arguments);
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished(5000);
        ADD_FAILURE() << "the program did not end: " << arguments.join(u' ').toStdString();
        return {};
    }
    return { program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
        QString::fromLocal8Bit(program.readAllStandardError()) };
}

TEST(CommandLine, HelpAndVersionPrintAndEndWithoutADisplay)
{
    MadeUpApplications tree;
    const Result version = run(tree, { "--version" });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Kavro Start " KAVRO_VERSION "\n");
    EXPECT_EQ(version.err, "");
    const Result help = run(tree, { "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: KavroStart [--user-folder]\n")) << help.out.toStdString();
    for (const char* option : { "--show [WHAT]", "--make-menus FOLDER", "--force", "--autostart on|off", "--version" })
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
    EXPECT_EQ(help.err, "");
}

TEST(CommandLine, OptionsItDoesNotUnderstandEndItWithAMessage)
{
    MadeUpApplications tree;
    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        { { "--bogus" }, "unknown option --bogus" },
        { { "--make-menus" }, "--make-menus needs the folder" },
        { { "--autostart", "maybe" }, "--autostart takes on or off" },
        { { "--force" }, "--force goes with --make-menus only" },
        { { "--help", "--version" }, "cannot be combined" },
        { { "--user-folder", "--make-menus=x" }, "--user-folder starts the program" },
    };
    for (const auto& c : cases) {
        const Result result = run(tree, c.arguments);
        EXPECT_EQ(result.exitCode, 2) << c.message;
        EXPECT_TRUE(result.err.contains(QLatin1String(c.message))) << result.err.toStdString();
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(QFileInfo::exists(tree.root() + "/x"));
}

TEST(CommandLine, MakeMenusWritesTheFolderAndKeepsAnExistingMainMenuUnlessForced)
{
    MadeUpApplications tree;
    const QString folder = tree.root() + "/menus";
    const Result made = run(tree, { "--make-menus", folder });
    EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_EQ(made.out, "Made " + folder + "/ConFigs/Main.ini: 33 applications, 6 pictures, 2 menu files.\n");
    EXPECT_TRUE(readFile(folder + "/ConFigs/Main.ini").contains("\r\nRechner\r\n"));

    writeFile(folder + "/ConFigs/Main.ini", "mine");
    const Result kept = run(tree, { "--make-menus=" + folder });
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_TRUE(kept.err.contains("--force")) << kept.err.toStdString();
    EXPECT_EQ(readFile(folder + "/ConFigs/Main.ini"), "mine");
    EXPECT_EQ(run(tree, { "--force", "--make-menus", folder }).exitCode, 0);
    EXPECT_TRUE(readFile(folder + "/ConFigs/Main.ini").startsWith("Kavro Start"));
}

TEST(CommandLine, AutostartOnWritesTheLogInEntryAndOffRemovesIt)
{
    MadeUpApplications tree;
    const QString entry = tree.home() + "/.config/autostart/kavro-start.desktop";
    const Result on = run(tree, { "--autostart", "on" });
    EXPECT_EQ(on.exitCode, 0) << on.err.toStdString();
    EXPECT_TRUE(readFile(entry).contains("\nExec=" KAVRO_PROGRAM " --user-folder\n")) << readFile(entry).toStdString();
    EXPECT_EQ(run(tree, { "--autostart=off" }).exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(entry));
}

TEST(CommandLine, TheUserFolderIsMadeOnFirstStartAndTheProgramRunsOnIt)
{
    MadeUpApplications tree;
    QProcess program;
    QProcessEnvironment env = sessionEnvironment(tree);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("KAVRO_INSTANCE_TRACE", "1");
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(tree.root());
    program.start(QStringLiteral(KAVRO_PROGRAM), { "--user-folder" });
    ASSERT_TRUE(program.waitForStarted(10000));
    QByteArray output;
    for (int i = 0; i < 300 && !output.contains("running\n") && program.state() == QProcess::Running; ++i) {
        program.waitForReadyRead(100);
        output += program.readAllStandardOutput();
    }
    // The folder follows the applications while the program runs.
    const QString mainMenu = tree.home() + "/.local/share/kavro-start/ConFigs/Main.ini";
    writeFile(
        tree.dataHome() + "/applications/new.desktop", "[Desktop Entry]\nType=Application\nName=New\nExec=true\n");
    EXPECT_TRUE(testing_support::waitUntil([&] { return readFile(mainMenu).contains("\r\nNew\r\n"); }, 15000));
    program.terminate();
    if (!program.waitForFinished(5000)) {
        program.kill();
        program.waitForFinished(5000);
    }
    EXPECT_EQ(output, "running\n") << "no message box, only the event loop: " << output.toStdString();
    const QString folder = tree.home() + "/.local/share/kavro-start";
    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    for (const char* piece :
        { "ConFigs/Main.ini", "ConFigs/Alarm.wav", "ConFigs/Magic.wav", "Launchers/net-01.sh", "Pictures/net-01.bmp" })
        EXPECT_TRUE(QFileInfo::exists(folder + "/" + piece)) << piece;
    // The build tree's note program lies beside the program.
    EXPECT_EQ(QFileInfo(folder + "/PinNotes").symLinkTarget(), QFileInfo(KAVRO_PROGRAM).absolutePath() + "/PinNotes");
}

} // namespace
