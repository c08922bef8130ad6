// Typing to find on the launcher with the X server's own key input: the
// control box and the launcher reached by keys alone, letters that mark the
// matches, Escape that gives the look back pixel for pixel, a key held long
// enough to repeat that still types one letter, and Enter that starts a
// gadget of another menu.
#include "XDesktop.h"
#include "rtl/TextFile.h"
#include "session/Menu.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>

// Xlib's macros clash with Qt's names: Qt goes first.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

// Holds a key down for `ms` with the server's auto-repeat on, as a user's finger would.
void holdKey(const QString& display, const char* keySym, int ms)
{
    Display* connection = XOpenDisplay(display.toLocal8Bit().constData());
    ASSERT_TRUE(connection);
    XAutoRepeatOn(connection);
    const KeyCode code = XKeysymToKeycode(connection, XStringToKeysym(keySym));
    XTestFakeKeyEvent(connection, code, True, CurrentTime);
    XFlush(connection);
    QThread::msleep(ulong(ms));
    XTestFakeKeyEvent(connection, code, False, CurrentTime);
    XCloseDisplay(connection);
}

TEST(TypeToFind, LettersFindAGadgetOfAnotherMenuThatEnterStartsAndAHeldKeyTypesOnce)
{
    XDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << desktop.failure().toStdString();
    QTemporaryDir folder;
    QTemporaryDir runtime;
    // Gadget 14 of the main menu opens Tools.ini, whose gadget 3 "Terminal" runs a recorder.
    const QString recorder = folder.filePath(QStringLiteral("record.sh"));
    testing_support::writeFile(recorder, "#!/bin/sh\ntouch \"$0.ran\"\n");
    ::chmod(QFile::encodeName(recorder).constData(), 0755);
    auto main = testing_support::sampleMenuLines();
    main[menufile::gadgetLine(14, menufile::StartMode) - 1] = "Menu";
    main[menufile::gadgetLine(14, menufile::FilesPath) - 1]
        = QFile::encodeName(folder.filePath(QStringLiteral("Tools.ini")));
    auto tools = testing_support::sampleMenuLines();
    tools[menufile::gadgetLine(3, menufile::StartMode) - 1] = "Run";
    tools[menufile::gadgetLine(3, menufile::FilesPath) - 1] = QFile::encodeName(recorder);
    tools[menufile::gadgetLine(3, menufile::GadgetName) - 1] = "Terminal";
    testing_support::writeFile(folder.filePath(QStringLiteral("ConFigs/Main.ini")), rtl::joinCrLf(main));
    testing_support::writeFile(folder.filePath(QStringLiteral("Tools.ini")), rtl::joinCrLf(tools));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), desktop.displayName());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    environment.remove(QStringLiteral("KAVRO_DIALOGS"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder.path());
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(KAVRO_PROGRAM), {});
    const auto activeWindow = [&](const QString& title) {
        XDesktop::WindowId window = 0;
        waitFor([&] { return (window = desktop.find(title)) && desktop.activeWindow() == window; });
        return window;
    };

    // Enter unfolds the control box, Right goes to "Main Screen", Enter opens the launcher.
    ASSERT_TRUE(activeWindow(QStringLiteral("Kavro StratControl Box")));
    for (const char* key : { "Return", "Right", "Return" })
        desktop.keys({ QLatin1String(key) });
    const XDesktop::WindowId launcher = activeWindow(QStringLiteral("MainForm"));
    ASSERT_TRUE(launcher);
    const QRect gadgets(desktop.geometry(launcher).topLeft() + QPoint(48, 88), QSize(716, 476));
    // Painted once gadget 56 shows its face colour (56 is dark red).
    ASSERT_TRUE(waitFor([&] { return desktop.screenshot(gadgets).pixelColor(564, 459) == QColor(56, 0, 0); }));
    const QImage untouched = desktop.screenshot(gadgets);

    for (const char* key : { "t", "e", "r" })
        desktop.keys({ QLatin1String(key) });
    EXPECT_TRUE(waitFor([&] { return desktop.screenshot(gadgets) != untouched; })) << "nothing marked or dimmed";
    desktop.keys({ QStringLiteral("Escape") });
    EXPECT_TRUE(waitFor([&] { return desktop.screenshot(gadgets) == untouched; })) << "the look did not come back";
    EXPECT_TRUE(desktop.find(QStringLiteral("MainForm")));

    for (const char* key : { "t", "e", "r" })
        desktop.keys({ QLatin1String(key) });
    holdKey(desktop.displayName(), "m", 1500);
    desktop.keys({ QStringLiteral("Return") });
    EXPECT_TRUE(waitFor([&] { return QFileInfo::exists(recorder + QStringLiteral(".ran")); }))
        << "\"term\" did not start Terminal: " << program.readAll().toStdString();
    EXPECT_TRUE(waitFor([&] { return !desktop.find(QStringLiteral("MainForm")); }));
    program.kill();
    program.waitForFinished(5000);
}

} // namespace
