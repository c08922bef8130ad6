// `KavroStart --show launcher`, as a key bound in the desktop's settings runs
// it, on a virtual display under a real window manager.
#include "XDesktop.h"
#include "rtl/TextFile.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Ends the process when the test does, however it ends.
struct Ended {
    QProcess& process;
    ~Ended()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

TEST(ShowCommand, ShowLauncherStartsTheProgramOrBringsTheRunningLauncherToTheFrontWithTheFocus)
{
    XDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << desktop.failure().toStdString();
    const QTemporaryDir startFolder;
    const QTemporaryDir runtimeFolder;
    testing_support::writeFile(
        startFolder.filePath("ConFigs/Main.ini"), rtl::joinCrLf(testing_support::sampleMenuLines()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", desktop.displayName());
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("XDG_RUNTIME_DIR", runtimeFolder.path());
    environment.insert("NO_AT_BRIDGE", "1");
    environment.remove("KAVRO_DIALOGS");
    const auto start = [&](QProcess& process, const QString& program, const QStringList& arguments) {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(startFolder.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
    };
    const auto active = [&](const QString& title) {
        return waitFor([&] { return desktop.find(title) && desktop.activeWindow() == desktop.find(title); });
    };

    // No copy runs: the command starts one, which shows its launcher.
    QProcess first;
    const Ended firstEnded { first };
    start(first, KAVRO_PROGRAM, { "--show", "launcher" });
    ASSERT_TRUE(active("MainForm")) << first.readAll().toStdString();
    EXPECT_EQ(desktop.geometry(desktop.find("MainForm")), QRect(0, 0, 1024, 768));
    desktop.keys({ "Alt_L", "F4" });
    ASSERT_TRUE(active("Kavro StratControl Box"));

    // Another program has the focus when the key is pressed: the launcher
    // comes up in front of it, from hidden or from behind it.
    QProcess second;
    for (const QString other : { "launcher hidden", "launcher behind" }) {
        QProcess message;
        const Ended messageEnded { message };
        start(message, "xmessage", { "-title", other, other });
        ASSERT_TRUE(active(other));
        start(second, KAVRO_PROGRAM, { "--show", "launcher" });
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(second.readAll(), "");
        ASSERT_TRUE(active("MainForm")) << other.toStdString();
        EXPECT_TRUE(desktop.stackedAbove(desktop.find("MainForm"), desktop.find(other)));
    }
    EXPECT_EQ(first.state(), QProcess::Running);
}

} // namespace
