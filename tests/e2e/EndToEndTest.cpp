// The built program on a virtual display under a real window manager,
// driven with real pointer and key input, as a user would drive it.
#include "XDesktop.h"
#include "controls/TikClock.h"
#include "desk/ClockFace.h"
#include "platform/FileIO.h"
#include "rtl/TextFile.h"
#include "session/Menu.h"
#include "support/MadeUpApplications.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

const QString controlBoxTitle = QStringLiteral("Kavro StratControl Box");

// A program started with the given start folder as its working folder:
// `program` with `arguments`, or else the built program, run from a folder
// of its own (where it keeps k-prefs.ini).
class Program final {
public:
    Program(const XDesktop& desktop, const QString& startFolder, const QProcessEnvironment& extra, QString program = {},
        const QStringList& arguments = {})
    {
        if (program.isEmpty()) {
            program = programFolder_.filePath(QStringLiteral("KavroStart"));
            if (::link(KAVRO_PROGRAM, QFile::encodeName(program).constData()) != 0)
                QFile::copy(QStringLiteral(KAVRO_PROGRAM), program);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), desktop.displayName());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder_.path());
        environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
        environment.remove(QStringLiteral("KAVRO_DIALOGS"));
        for (const QString& name : extra.keys())
            environment.insert(name, extra.value(name));
        process_.setProcessEnvironment(environment);
        process_.setWorkingDirectory(startFolder);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(program, arguments);
    }
    ~Program()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    bool running() const { return process_.state() != QProcess::NotRunning; }
    QProcess& process() { return process_; }
    QString prefsFile() const { return programFolder_.filePath(QStringLiteral("k-prefs.ini")); }
    QString output() { return QString::fromLocal8Bit(process_.readAll()); }

private:
    QTemporaryDir programFolder_;
    QTemporaryDir runtimeFolder_;
    QProcess process_;
};

// Where screenshots of failures go: beside the test log.
QString outputFolder()
{
    const QString folder = qEnvironmentVariable("KAVRO_E2E_OUTPUT");
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

// The pixels of `image` close to `colour`: how many, and the box round them.
struct Patch {
    int pixels = 0;
    QRect bounds;
};
Patch patchOf(const QImage& image, QColor colour)
{
    Patch patch;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green()) + qAbs(c.blue() - colour.blue()) < 24) {
                ++patch.pixels;
                patch.bounds |= QRect(x, y, 1, 1);
            }
        }
    return patch;
}

QString fakeTimeLibrary()
{
    for (const QFileInfo& arch : QDir(QStringLiteral("/usr/lib")).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QString library = arch.filePath() + QStringLiteral("/faketime/libfaketimeMT.so.1");
        if (QFileInfo::exists(library))
            return library;
    }
    return {};
}

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() { desktop_ = new XDesktop; }
    static void TearDownTestSuite()
    {
        delete desktop_;
        desktop_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(desktop_->ok()) << desktop_->failure().toStdString();
        ASSERT_TRUE(startFolder_.isValid());
    }

    void TearDown() override
    {
        if (HasFailure()) {
            const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
            const QString shot
                = QDir(outputFolder())
                      .filePath(QStringLiteral("%1.%2.png")
                                    .arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name())));
            if (desktop_->screenshot().save(shot))
                std::printf("screenshot of the failure: %s\n", qPrintable(shot));
            if (program_)
                std::printf("program (%s, exit code %d): %s\n", program_->running() ? "running" : "ended",
                    program_->process().exitCode(), qPrintable(program_->output()));
        }
        program_.reset();
        // The next test starts on an empty desktop.
        waitFor([this] { return !desktop().find(controlBoxTitle); });
    }

    XDesktop& desktop() { return *desktop_; }

    // Gadget 1 runs a script that records the folder it was started in.
    void writeMainMenu()
    {
        QList<QByteArray> lines = testing_support::sampleMenuLines();
        lines[menufile::gadgetLine(1, menufile::StartMode) - 1] = "Run";
        lines[menufile::gadgetLine(1, menufile::FilesPath) - 1] = QFile::encodeName(recorder());
        writeFile(startFolder_.filePath(QStringLiteral("ConFigs/Main.ini")), rtl::joinCrLf(lines));
        writeFile(recorder(), QByteArrayLiteral("#!/bin/sh\npwd > \"$0.tmp\" && mv \"$0.tmp\" \"$0.ran\"\n"));
        ::chmod(QFile::encodeName(recorder()).constData(), 0755);
    }
    QString recorder() const { return startFolder_.filePath(QStringLiteral("Tools/record.sh")); }

    void start(const QProcessEnvironment& extra = {}, const QString& program = {}, const QStringList& arguments = {})
    {
        program_ = std::make_unique<Program>(desktop(), startFolder_.path(), extra, program, arguments);
    }

    // An environment in which the program's clock stands at `time` until
    // setTime moves it on; empty without libfaketime.
    QProcessEnvironment stoppedClock(const QByteArray& time)
    {
        const QString fakeTime = fakeTimeLibrary();
        if (fakeTime.isEmpty())
            return {};
        setTime(time);
        QProcessEnvironment clock;
        clock.insert(QStringLiteral("LD_PRELOAD"), fakeTime);
        clock.insert(QStringLiteral("FAKETIME_TIMESTAMP_FILE"), timeFile());
        clock.insert(QStringLiteral("FAKETIME_NO_CACHE"), QStringLiteral("1"));
        clock.insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
        return clock;
    }
    void setTime(const QByteArray& time) { writeFile(timeFile(), time + '\n'); }
    QString timeFile() const { return startFolder_.filePath(QStringLiteral("time")); }

    // The showing window of that exact title, once the window manager has
    // taken it on (a popup menu: once it shows); 0 when it never comes.
    XDesktop::WindowId waitForWindow(const QString& title, bool popup = false)
    {
        XDesktop::WindowId found = 0;
        waitFor([&] {
            found = desktop().find(title);
            return found && (popup || desktop().managed(found));
        });
        return found;
    }

    bool waitUntilGone(const QString& title)
    {
        return waitFor([&] { return !desktop().find(title); });
    }

    // The control box, once it shows at the given width.
    QRect waitForControlBox(int width)
    {
        QRect box;
        waitFor([&] {
            const XDesktop::WindowId window = desktop().find(controlBoxTitle);
            box = desktop().geometry(window);
            return box.width() == width && desktop().managed(window);
        });
        return box;
    }

    // Points on the control box: the clock, and the buttons of the unfolded box.
    static QPoint clockOf(QRect box) { return box.topLeft() + QPoint(32, 38); }
    static QPoint alarmButtonOf(QRect box) { return box.topLeft() + QPoint(66 + 18, 13); }
    static QPoint mainScreenButtonOf(QRect box) { return box.topLeft() + QPoint(66 + 48, 23); }
    static QPoint blankerButtonOf(QRect box) { return box.topLeft() + QPoint(66 + 18, 55); }

    // Gadget n (1 to 56) on the launcher: 161 x 33, columns of 14 from (49, 89).
    static QRect gadgetOf(QRect launcher, int n)
    {
        constexpr int columnX[menufile::ColumnCount] = { 49, 233, 418, 602 };
        return QRect(
            launcher.topLeft() + QPoint(columnX[menufile::gadgetColumn(n) - 1], 89 + 34 * (menufile::gadgetRow(n) - 1)),
            QSize(161, 33));
    }

    // Chooses from the control box's context menu with a key ("Always on Top"
    // is its first item, "Exit" its last) and Return.
    void chooseFromContextMenu(QRect box, const QString& key)
    {
        desktop().click(clockOf(box), 3);
        ASSERT_TRUE(waitForWindow(QStringLiteral("Kavro Start"), true));
        desktop().keys({ key });
        desktop().keys({ QStringLiteral("Return") });
        ASSERT_TRUE(waitUntilGone(QStringLiteral("Kavro Start")));
    }

    // The folded control box once it has come up and the window manager has
    // given it the focus: a click before then may go to the window manager.
    QRect waitForStart()
    {
        const QRect box = waitForControlBox(65);
        waitFor([&] { return desktop().activeWindow() == desktop().find(controlBoxTitle); });
        return box;
    }

    QRect unfold()
    {
        const QRect folded = waitForControlBox(65);
        desktop().click(clockOf(folded));
        return waitForControlBox(132);
    }

    static XDesktop* desktop_;
    QTemporaryDir startFolder_;
    std::unique_ptr<Program> program_;
};

XDesktop* EndToEnd::desktop_ = nullptr;

TEST_F(EndToEnd, TheControlBoxUnfoldsAndTheLauncherComesAndGoesEvenThroughTheWindowManager)
{
    writeMainMenu();
    start();
    const QRect folded = waitForStart();
    ASSERT_EQ(folded.size(), QSize(65, 67));
    EXPECT_TRUE(desktop().keptAbove(desktop().find(controlBoxTitle)));

    desktop().click(clockOf(folded));
    const QRect unfolded = waitForControlBox(132);
    ASSERT_EQ(unfolded.topLeft(), folded.topLeft());

    desktop().click(mainScreenButtonOf(unfolded));
    const XDesktop::WindowId launcher = waitForWindow(QStringLiteral("MainForm"));
    ASSERT_TRUE(launcher);
    EXPECT_EQ(desktop().geometry(launcher), QRect(0, 0, 1024, 768));
    ASSERT_TRUE(waitUntilGone(controlBoxTitle));

    // Closed by the window manager's key, the launcher brings the control box back.
    ASSERT_TRUE(waitFor([&] { return desktop().activeWindow() == launcher; }));
    desktop().keys({ QStringLiteral("Alt_L"), QStringLiteral("F4") });
    ASSERT_TRUE(waitUntilGone(QStringLiteral("MainForm")));
    EXPECT_EQ(waitForControlBox(65).topLeft(), folded.topLeft());
}

TEST_F(EndToEnd, ARunGadgetStartsItsProgramInItsFolderAndBringsTheControlBoxBack)
{
    writeMainMenu();
    start();
    waitForStart();
    desktop().click(mainScreenButtonOf(unfold()));
    const XDesktop::WindowId launcher = waitForWindow(QStringLiteral("MainForm"));
    ASSERT_TRUE(launcher);
    desktop().click(gadgetOf(desktop().geometry(launcher), 1).center());
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(recorder() + QStringLiteral(".ran")); }));
    EXPECT_EQ(readFile(recorder() + QStringLiteral(".ran")).trimmed(), QFile::encodeName(QFileInfo(recorder()).path()));
    EXPECT_TRUE(waitUntilGone(QStringLiteral("MainForm")));
    EXPECT_FALSE(waitForControlBox(65).isEmpty());
}

TEST_F(EndToEnd, AnAlarmWhileTheBlankerIsUpLeavesItsMessageInFrontAndNoBlackScreen)
{
    const QProcessEnvironment clock = stoppedClock("2026-03-02 00:00:00");
    ASSERT_FALSE(clock.isEmpty()) << "libfaketime is not installed";
    writeMainMenu();
    start(clock);
    waitForStart();

    // The alarm at 00:01: one step of the minute's up arrow, then OK.
    desktop().click(alarmButtonOf(unfold()));
    const XDesktop::WindowId dialog = waitForWindow(QStringLiteral("Kavro Start Alarm."));
    ASSERT_TRUE(dialog);
    // Placed and given the focus by the window manager before it is clicked.
    ASSERT_TRUE(waitFor([&] { return desktop().activeWindow() == dialog; }));
    const QRect client = desktop().geometry(dialog);
    const QRect minuteBox(client.topLeft() + QPoint(160, 64), QSize(33, 21));
    const QImage minuteBefore = desktop().screenshot(minuteBox);
    desktop().click(client.topLeft() + QPoint(200, 69));
    ASSERT_TRUE(waitFor([&] { return desktop().screenshot(minuteBox) != minuteBefore; })) << "the minute stays 0";
    desktop().click(client.topLeft() + QPoint(271, 50));
    ASSERT_TRUE(waitUntilGone(QStringLiteral("Kavro Start Alarm.")));

    desktop().click(blankerButtonOf(unfold()));
    const XDesktop::WindowId blanker = waitForWindow(QStringLiteral("Form3"));
    ASSERT_TRUE(blanker);
    EXPECT_EQ(desktop().geometry(blanker), QRect(0, 0, 1024, 768));

    setTime("2026-03-02 00:01:00");
    const XDesktop::WindowId message = waitForWindow(QStringLiteral("Kavro Start Alarm Call."));
    ASSERT_TRUE(message);
    EXPECT_TRUE(waitUntilGone(QStringLiteral("Form3")));
    EXPECT_TRUE(waitFor([&] { return desktop().activeWindow() == message; }));
    EXPECT_TRUE(desktop().stackedAbove(message, desktop().find(controlBoxTitle)));
    const QImage screen = desktop().screenshot();
    qsizetype black = 0;
    for (int y = 0; y < screen.height(); y += 4)
        for (int x = 0; x < screen.width(); x += 4)
            black += qGray(screen.pixel(x, y)) < 16;
    EXPECT_LT(black, screen.width() * screen.height() / 16 / 4) << "a quarter or more of the screen is black";

    // The message has the focus: Return answers it.
    desktop().keys({ QStringLiteral("Return") });
    EXPECT_TRUE(waitUntilGone(QStringLiteral("Kavro Start Alarm Call.")));
}

TEST_F(EndToEnd, TheControlBoxClockShowsWhatItsOwnPaintingDrawsAsItTicksAndTheMinuteTurns)
{
    const QProcessEnvironment clock = stoppedClock("2026-03-02 10:08:37");
    ASSERT_FALSE(clock.isEmpty()) << "libfaketime is not installed";
    writeMainMenu();
    start(clock);
    const QRect box = waitForStart();
    const struct {
        QByteArray time;
        int hour, minute, second;
    } steps[] = { { "2026-03-02 10:08:37", 10, 8, 37 }, { "2026-03-02 10:08:38", 10, 8, 38 },
        { "2026-03-02 10:09:00", 10, 9, 0 } };
    for (const auto& step : steps) {
        setTime(step.time);
        TTickingClock painting;
        setUpControlBoxClock(painting);
        painting.SetTime(step.hour, step.minute, step.second);
        const QImage painted = painting.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The clock lies 13 pixels down the box, within its left-hand panel.
        const QRect onScreen(box.topLeft() + QPoint(0, 13), painted.size());
        EXPECT_TRUE(waitFor([&] {
            return desktop().screenshot(onScreen).convertToFormat(QImage::Format_RGB32) == painted;
        })) << step.time.constData();
    }
}

TEST_F(EndToEnd, StayOnTopTogglesOnTheSameWindowAndExitWritesThePlaceAndEnds)
{
    writeMainMenu();
    start();
    const QRect folded = waitForStart();
    const XDesktop::WindowId box = desktop().find(controlBoxTitle);
    ASSERT_TRUE(desktop().keptAbove(box));

    for (const bool above : { false, true }) {
        chooseFromContextMenu(folded, QStringLiteral("Down"));
        EXPECT_TRUE(waitFor([&] { return desktop().keptAbove(box) == above; })) << above;
        EXPECT_EQ(desktop().find(controlBoxTitle), box) << "a new window for the control box";
        EXPECT_EQ(desktop().geometry(box), folded);
    }

    chooseFromContextMenu(folded, QStringLiteral("Up"));
    ASSERT_TRUE(program_->process().waitForFinished(30000));
    EXPECT_EQ(program_->process().exitCode(), 0);
    QSettings prefs(program_->prefsFile(), QSettings::IniFormat);
    EXPECT_EQ(prefs.value(QStringLiteral("Values/Width")).toInt(), 65);
    EXPECT_EQ(prefs.value(QStringLiteral("Values/Height")).toInt(), 67);
    EXPECT_EQ(prefs.value(QStringLiteral("Values/Left")).toInt(), folded.left());
    EXPECT_EQ(prefs.value(QStringLiteral("Values/Top")).toInt(), folded.top());
}

TEST_F(EndToEnd, AFailedStartShowsItsMessageInFrontOfTheControlBoxWithTheFocus)
{
    start();
    const XDesktop::WindowId message = waitForWindow(QStringLiteral("Kavro Start, Saying!"));
    ASSERT_TRUE(message);
    // The control box came up before the launcher found no menu.
    EXPECT_TRUE(desktop().stackedAbove(message, desktop().find(controlBoxTitle)));
    EXPECT_TRUE(waitFor([&] { return desktop().activeWindow() == message; }));
    desktop().keys({ QStringLiteral("Return") });
    ASSERT_TRUE(program_->process().waitForFinished(30000));
    EXPECT_EQ(program_->process().exitStatus(), QProcess::NormalExit);
}

TEST_F(EndToEnd, ThePackagedProgramMakesTheUsersFolderWhoseLauncherStartsTheInstalledApplications)
{
    const QString package = qEnvironmentVariable("KAVRO_E2E_PACKAGE");
    if (package.isEmpty())
        GTEST_SKIP() << "KAVRO_E2E_PACKAGE names no .deb to unpack; scripts/kavro.sh test makes one and gives it";
    QTemporaryDir unpacked;
    QProcess unpack;
    unpack.setProcessChannelMode(QProcess::MergedChannels);
    unpack.start(QStringLiteral("dpkg-deb"), { QStringLiteral("-x"), package, unpacked.path() });
    ASSERT_TRUE(unpack.waitForFinished(60000) && unpack.exitStatus() == QProcess::NormalExit && unpack.exitCode() == 0)
        << unpack.readAll().toStdString();
    const QString usrBin = unpacked.filePath(QStringLiteral("usr/bin"));

    // A user with a scratch home on a system whose applications are the made-up ones.
    MadeUpApplications tree;
    const QString configHome = tree.home() + QStringLiteral("/.config");
    QProcessEnvironment user;
    user.insert(QStringLiteral("HOME"), tree.home());
    user.insert(QStringLiteral("XDG_DATA_HOME"), tree.dataHome());
    user.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    user.insert(QStringLiteral("XDG_DATA_DIRS"), tree.dataDirs().join(u':'));
    user.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), MadeUpApplications::desktop());
    user.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    user.insert(QStringLiteral("PATH"), tree.bin() + u':' + qEnvironmentVariable("PATH"));
    user.insert(QStringLiteral("KAVRO_RECORD"), tree.recordFile());
    start(user, usrBin + QStringLiteral("/KavroStart"), { QStringLiteral("--user-folder") });
    const QRect folded = waitForStart();
    ASSERT_EQ(folded.size(), QSize(65, 67));

    const QString folder = tree.dataHome() + QStringLiteral("/kavro-start");
    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/PinNotes")).symLinkTarget(), usrBin + QStringLiteral("/PinNotes"));
    const QList<QByteArray> mainMenu
        = platform::readTextLines(folder + QStringLiteral("/ConFigs/Main.ini"), menufile::LineCount);
    ASSERT_EQ(mainMenu.size(), menufile::LineCount);
    const auto gadgetNamed = [&](const QString& name) {
        for (int n = 1; n <= menufile::GadgetCount; ++n)
            if (mainMenu[menufile::gadgetLine(n, menufile::GadgetName) - 1] == name.toUtf8())
                return n;
        return 0;
    };

    desktop().click(mainScreenButtonOf(unfold()));
    const XDesktop::WindowId launcherWindow = waitForWindow(QStringLiteral("MainForm"));
    ASSERT_TRUE(launcherWindow);
    const QRect launcher = desktop().geometry(launcherWindow);
    // Each picture, in its icon's colour, stands in the left half of its gadget.
    const struct {
        const char* name;
        QColor colour;
    } pictured[]
        = { { "Net App 01", QColor(255, 0, 0) }, { "Painter", QColor(255, 0, 0) }, { "Calculator", QColor(0, 160, 0) },
              { "Terminal Tool", QColor(255, 255, 0) }, { "Work Folder", QColor(255, 0, 255) } };
    for (const auto& application : pictured) {
        const int n = gadgetNamed(QLatin1String(application.name));
        ASSERT_NE(n, 0) << "no gadget named " << application.name;
        const QRect gadget = gadgetOf(launcher, n);
        Patch picture;
        EXPECT_TRUE(waitFor([&] {
            picture = patchOf(desktop().screenshot(gadget), application.colour);
            return picture.pixels >= 64;
        })) << application.name
            << ": " << picture.pixels << " pixels of its icon's colour";
        EXPECT_LE(picture.bounds.width(), 18) << application.name;
        EXPECT_LE(picture.bounds.height(), 18) << application.name;
        EXPECT_LT(picture.bounds.right(), gadget.width() / 2) << application.name;
    }

    // "Work Folder" runs in the folder its entry names.
    desktop().click(gadgetOf(launcher, gadgetNamed(QStringLiteral("Work Folder"))).center());
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(tree.recordFile()); }));
    const MadeUpApplications::Run run = MadeUpApplications::readRecord(tree.recordFile());
    EXPECT_EQ(run.folder, tree.workFolder());
    EXPECT_EQ(run.program, QStringLiteral("kavro-recorder"));
    EXPECT_EQ(run.arguments, QStringList { QStringLiteral("pwd") });
    ASSERT_TRUE(waitUntilGone(QStringLiteral("MainForm")));

    // The installed copy keeps its place in the user's configuration, not in its own folder.
    chooseFromContextMenu(waitForControlBox(65), QStringLiteral("Up"));
    ASSERT_TRUE(program_->process().waitForFinished(30000));
    EXPECT_EQ(program_->process().exitCode(), 0);
    EXPECT_TRUE(QFileInfo::exists(configHome + QStringLiteral("/kavro-start/k-prefs.ini")));
    EXPECT_FALSE(QFileInfo::exists(usrBin + QStringLiteral("/k-prefs.ini")));
}

} // namespace
