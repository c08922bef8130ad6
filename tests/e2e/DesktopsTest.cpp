// The built programs on the desktops people run: a Wayland compositor
// (weston) with Xwayland, headless or shown on a virtual X display where
// input is needed, and an X display whose monitors change.
#include "XDesktop.h"
#include "platform/WindowSystem.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

const QString controlBoxTitle = QStringLiteral("Kavro StratControl Box");
const QColor navy(0, 0, 128);

// weston with Xwayland in a runtime folder of its own: headless, or in a
// window on the X display `shownOn`.
class Weston final {
public:
    explicit Weston(const QString& shownOn = {})
    {
        // Xwayland listens only where X servers keep their sockets.
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix")) && ::mkdir("/tmp/.X11-unix", 01777) == 0)
            ::chmod("/tmp/.X11-unix", 01777);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("DISPLAY"));
        if (!shownOn.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), shownOn);
        process_.setProcessEnvironment(environment);
        // It logs to the file below.
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardOutputFile(QProcess::nullDevice());
        const QStringList arguments { shownOn.isEmpty() ? QStringLiteral("--backend=headless-backend.so")
                                                        : QStringLiteral("--backend=x11-backend.so"),
            QStringLiteral("--use-pixman"), QStringLiteral("--width=1024"), QStringLiteral("--height=768"),
            QStringLiteral("--idle-time=0"), QStringLiteral("--xwayland"), QStringLiteral("--socket=kavro"),
            QStringLiteral("--log=") + runtime_.filePath(QStringLiteral("log")) };
        process_.start(QStringLiteral("weston"), arguments);
        // Running, not still starting, by the time its log says it is ready.
        process_.waitForStarted(10000);
        waitFor([this] {
            const QByteArray log = readFile(runtime_.filePath(QStringLiteral("log")));
            const QByteArray said = "xserver listening on display ";
            const qsizetype at = log.indexOf(said);
            if (at >= 0)
                xDisplay_ = QString::fromLatin1(log.mid(at + said.size()).split('\n').first().trimmed());
            return (!xDisplay_.isEmpty() && QFileInfo::exists(waylandDisplay()))
                || process_.state() == QProcess::NotRunning;
        });
    }
    ~Weston()
    {
        process_.terminate();
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    Weston(const Weston&) = delete;
    Weston& operator=(const Weston&) = delete;

    bool ok() const { return process_.state() == QProcess::Running && !xDisplay_.isEmpty(); }
    QString failure() const { return QString::fromLocal8Bit(readFile(runtime_.filePath(QStringLiteral("log")))); }
    // The compositor's socket, by its full path.
    QString waylandDisplay() const { return runtime_.filePath(QStringLiteral("kavro")); }
    // Xwayland's display.
    QString xDisplay() const { return xDisplay_; }

private:
    QTemporaryDir runtime_;
    QProcess process_;
    QString xDisplay_;
};

// A built program run from a folder of its own (where it keeps its files),
// in `startFolder`, with its own runtime folder and only the display
// variables given; ended at the end.
class Program final {
public:
    Program(const QString& built, const QString& startFolder, const QProcessEnvironment& session,
        std::optional<QPoint> savedPlace = {})
    {
        const QString program = own_.filePath(QFileInfo(built).fileName());
        if (::link(QFile::encodeName(built).constData(), QFile::encodeName(program).constData()) != 0)
            QFile::copy(built, program);
        if (savedPlace)
            writeFile(prefsFile(),
                QStringLiteral("[Values]\r\nWidth=65\r\nHeight=67\r\nLeft=%1\r\nTop=%2\r\n")
                    .arg(savedPlace->x())
                    .arg(savedPlace->y())
                    .toLatin1());
        environment_ = QProcessEnvironment::systemEnvironment();
        for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "KAVRO_DIALOGS" })
            environment_.remove(QLatin1String(name));
        environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        environment_.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
        environment_.insert(QStringLiteral("KAVRO_INSTANCE_TRACE"), QStringLiteral("1"));
        environment_.insert(session);
        process_.setProcessEnvironment(environment_);
        process_.setWorkingDirectory(startFolder);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(program, {});
    }
    ~Program()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    QProcess& process() { return process_; }
    const QProcessEnvironment& environment() const { return environment_; }
    QString prefsFile() const { return own_.filePath(QStringLiteral("k-prefs.ini")); }
    QString output()
    {
        output_ += QString::fromLocal8Bit(process_.readAll());
        return output_;
    }

    // "xcb" or "wayland" once Qt has loaded its platform plug-in.
    QString platformPlugin() const
    {
        QString plugin;
        waitFor([&] {
            const QByteArray maps = readFile(QStringLiteral("/proc/%1/maps").arg(process_.processId()));
            plugin = maps.contains("/libqxcb.so") ? QStringLiteral("xcb")
                : maps.contains("/libqwayland-")  ? QStringLiteral("wayland")
                                                  : QString();
            return !plugin.isEmpty() || process_.state() == QProcess::NotRunning;
        });
        return plugin;
    }

private:
    QTemporaryDir own_;
    QTemporaryDir runtime_;
    QProcessEnvironment environment_;
    QProcess process_;
    QString output_;
};

QProcessEnvironment variables(std::initializer_list<std::pair<const char*, QString>> pairs)
{
    QProcessEnvironment environment;
    for (const auto& [name, value] : pairs)
        environment.insert(QLatin1String(name), value);
    return environment;
}

// A start folder with a menu, and a note program that records the environment it gets.
class StartFolder final {
public:
    StartFolder()
    {
        writeFile(folder_.filePath(QStringLiteral("ConFigs/Main.ini")),
            testing_support::sampleMenuLines().join(QByteArrayLiteral("\r\n")) + "\r\n");
        writeFile(notes(), QByteArrayLiteral("#!/bin/sh\nenv > \"$0.tmp\" && mv \"$0.tmp\" \"$0.env\"\n"));
        ::chmod(QFile::encodeName(notes()).constData(), 0755);
    }
    QString path() const { return folder_.path(); }
    QString notes() const { return folder_.filePath(QStringLiteral("PinNotes")); }

private:
    QTemporaryDir folder_;
};

// The box round the pixels of `image` in `colour`.
QRect boundsOf(const QImage& image, QColor colour)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST(OnHeadlessWeston, TheProgramsGoThroughXwaylandUnlessTheUserChoseWaylandOrNoXServerRuns)
{
    Weston weston;
    ASSERT_TRUE(weston.ok()) << weston.failure().toStdString();
    const StartFolder folder;
    const QString unset;
    const struct {
        const char* program;
        QString platform;
        bool xServer;
        const char* plugin;
    } cases[] = {
        { KAVRO_PROGRAM, unset, true, "xcb" },
        { KAVRO_NOTES_PROGRAM, unset, true, "xcb" },
        { KAVRO_PROGRAM, QStringLiteral("wayland"), true, "wayland" },
        { KAVRO_PROGRAM, unset, false, "wayland" },
    };
    for (const auto& c : cases) {
        const QString what = QStringLiteral("%1 with QT_QPA_PLATFORM=%2, %3")
                                 .arg(QFileInfo(QLatin1String(c.program)).fileName(), c.platform,
                                     c.xServer ? QStringLiteral("an X server") : QStringLiteral("no X server"));
        QProcessEnvironment session = variables({ { "WAYLAND_DISPLAY", weston.waylandDisplay() } });
        if (c.xServer)
            session.insert(QStringLiteral("DISPLAY"), weston.xDisplay());
        if (!c.platform.isNull())
            session.insert(QStringLiteral("QT_QPA_PLATFORM"), c.platform);
        Program program(QLatin1String(c.program), folder.path(), session);
        EXPECT_EQ(program.platformPlugin().toStdString(), c.plugin) << qPrintable(what);
        if (QLatin1String(c.program) != QLatin1String(KAVRO_PROGRAM))
            continue;
        // The line comes before the event loop runs.
        EXPECT_TRUE(waitFor([&] { return program.output().contains(u"running\n"); })) << qPrintable(what);
        EXPECT_EQ(
            program.output().contains(platform::windowSystemLimits() + u'\n'), QLatin1String(c.plugin) == u"wayland")
            << qPrintable(what + u'\n' + program.output());
    }
}

// What weston shows less its panel, whose clock moves on.
QImage belowThePanel(QImage image)
{
    QPainter(&image).fillRect(QRect(0, 0, image.width(), 32), Qt::black);
    return image;
}

// weston on a virtual X display, whose pointer and keys reach it: a new
// weston for each test, which then finds its pointer where it expects it.
class OnWestonWithInput : public ::testing::Test {
protected:
    // No window manager: weston's window shows as it asks.
    static void SetUpTestSuite() { desktop_ = new XDesktop(false); }
    static void TearDownTestSuite()
    {
        delete desktop_;
        desktop_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(desktop_->ok()) << desktop_->failure().toStdString();
        weston_ = std::make_unique<Weston>(desktop_->displayName());
        ASSERT_TRUE(weston_->ok()) << weston_->failure().toStdString();
        XDesktop::WindowId window = 0;
        waitFor([&] {
            window = desktop_->find(QStringLiteral("Weston Compositor - screen0"));
            output_ = desktop_->geometry(window);
            return !output_.isEmpty();
        });
        ASSERT_FALSE(output_.isEmpty()) << "weston's window does not show: " << weston_->failure().toStdString();
    }
    void TearDown() override
    {
        if (HasFailure()) {
            const QString folder = qEnvironmentVariable("KAVRO_E2E_OUTPUT", QDir::currentPath());
            const QString name = QLatin1String(::testing::UnitTest::GetInstance()->current_test_info()->name());
            if (shot().save(QDir(folder).filePath(name + QStringLiteral(".png"))))
                std::printf("screenshot of the failure: %s.png\n", qPrintable(name));
            if (program_)
                std::printf("program: %s\n", qPrintable(program_->output()));
        }
        program_.reset();
        weston_.reset();
        waitFor([] { return !desktop_->find(QStringLiteral("Weston Compositor - screen0")); });
    }

    void start(const QProcessEnvironment& session, QPoint savedPlace)
    {
        QProcessEnvironment all = variables({ { "WAYLAND_DISPLAY", weston_->waylandDisplay() } });
        all.insert(session);
        program_ = std::make_unique<Program>(QStringLiteral(KAVRO_PROGRAM), folder_.path(), all, savedPlace);
    }

    // Part of what weston shows, or all of it.
    QImage shot(QRect part = {}) const
    {
        return desktop_->screenshot(part.isEmpty() ? output_ : part.translated(output_.topLeft()));
    }

    void xdotool(const QStringList& arguments)
    {
        QProcess xdotool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), desktop_->displayName());
        xdotool.setProcessEnvironment(environment);
        xdotool.start(QStringLiteral("xdotool"), arguments);
        ASSERT_TRUE(xdotool.waitForFinished(10000));
    }

    // The pointer to a point of weston's output. weston follows the
    // pointer's relative motion only: into its window's corner, then by the offset.
    void pointAt(QPoint at)
    {
        xdotool({ QStringLiteral("mousemove"), QString::number(output_.x()), QString::number(output_.y()),
            QStringLiteral("sleep"), QStringLiteral("0.2"), QStringLiteral("mousemove_relative"),
            QString::number(at.x()), QString::number(at.y()), QStringLiteral("sleep"), QStringLiteral("0.2") });
    }
    void click(QPoint at, int button = 1)
    {
        pointAt(at);
        xdotool({ QStringLiteral("click"), QString::number(button) });
    }

    // The clock's navy panel as weston shows it, 65 x 59 below an 8-pixel strip.
    QRect waitForClockPanel()
    {
        QRect panel;
        waitFor([&] {
            panel = boundsOf(shot(), navy);
            return panel.size() == QSize(65, 59);
        });
        return panel;
    }

    static XDesktop* desktop_;
    std::unique_ptr<Weston> weston_;
    QRect output_; // where weston's window shows
    StartFolder folder_;
    std::unique_ptr<Program> program_;
};

XDesktop* OnWestonWithInput::desktop_ = nullptr;

TEST_F(OnWestonWithInput, ThroughXwaylandTheBoxComesUpAtItsSavedPlaceAndStartsProgramsInTheSessionsEnvironment)
{
    start(variables({ { "DISPLAY", weston_->xDisplay() }, { "KAVRO_SESSION_MARK", QStringLiteral("kept") } }),
        QPoint(300, 200));
    const QRect panel = waitForClockPanel();
    ASSERT_EQ(panel.topLeft(), QPoint(300, 208));

    // Unfolded, then "Pin Notes", the yellow button at the bottom right.
    click(panel.center());
    const QRect buttons(panel.topLeft() + QPoint(66, -8), QSize(66, 67));
    ASSERT_TRUE(waitFor([&] { return !boundsOf(shot(buttons), QColor(255, 255, 0)).isEmpty(); }));
    click(buttons.topLeft() + QPoint(48, 55));
    const QString recorded = folder_.notes() + QStringLiteral(".env");
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(recorded); }));

    // As the program was given it, less what the recording shell itself sets.
    QStringList got = QString::fromLocal8Bit(readFile(recorded)).split(u'\n', Qt::SkipEmptyParts);
    const auto setByShell = [](const QString& line) {
        return line.startsWith(u"PWD=") || line.startsWith(u"OLDPWD=") || line.startsWith(u"SHLVL=")
            || line.startsWith(u"_=");
    };
    QStringList given = program_->environment().toStringList();
    got.removeIf(setByShell);
    given.removeIf(setByShell);
    got.sort();
    given.sort();
    EXPECT_EQ(got.join(u'\n').toStdString(), given.join(u'\n').toStdString());
}

TEST_F(OnWestonWithInput, OnWaylandItselfExitKeepsTheSavedPlaceAndTheProgramSaysWhatItCannotDo)
{
    start(variables({ { "DISPLAY", weston_->xDisplay() }, { "QT_QPA_PLATFORM", QStringLiteral("wayland") } }),
        QPoint(300, 200));
    const QRect panel = waitForClockPanel();
    ASSERT_FALSE(panel.isEmpty());
    EXPECT_TRUE(waitFor([&] { return program_->output().contains(platform::windowSystemLimits() + u'\n'); }));

    // "Exit" is the last item of the context menu, which is silver.
    click(panel.center(), 3);
    QRect menu;
    ASSERT_TRUE(waitFor([&] {
        menu = boundsOf(belowThePanel(shot()), QColor(192, 192, 192));
        return menu.width() >= 50 && menu.height() >= 40;
    }));
    click(QPoint(menu.left() + 20, menu.bottom() - 10));
    ASSERT_TRUE(program_->process().waitForFinished(30000));
    EXPECT_EQ(program_->process().exitCode(), 0);
    QSettings prefs(program_->prefsFile(), QSettings::IniFormat);
    EXPECT_EQ(prefs.value(QStringLiteral("Values/Left")).toInt(), 300);
    EXPECT_EQ(prefs.value(QStringLiteral("Values/Top")).toInt(), 200);
}

void xrandr(const XDesktop& desktop, const QStringList& arguments)
{
    QProcess xrandr;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), desktop.displayName());
    xrandr.setProcessEnvironment(environment);
    xrandr.setProcessChannelMode(QProcess::MergedChannels);
    xrandr.start(QStringLiteral("xrandr"), arguments);
    ASSERT_TRUE(xrandr.waitForFinished(10000) && xrandr.exitCode() == 0) << xrandr.readAll().toStdString();
}

TEST(OnChangingMonitors, ABoxOnAMonitorThatGoesAwayMovesWhollyOntoTheNearestScreen)
{
    XDesktop desktop;
    ASSERT_TRUE(desktop.ok()) << desktop.failure().toStdString();
    // 800 x 768 on the left, the primary one, and 224 x 768 beside it.
    xrandr(desktop,
        { QStringLiteral("--setmonitor"), QStringLiteral("left"), QStringLiteral("800/0x768/0+0+0"),
            QStringLiteral("screen") });
    xrandr(desktop,
        { QStringLiteral("--setmonitor"), QStringLiteral("right"), QStringLiteral("224/0x768/0+800+0"),
            QStringLiteral("none") });
    const StartFolder folder;
    Program program(QStringLiteral(KAVRO_PROGRAM), folder.path(),
        variables({ { "DISPLAY", desktop.displayName() }, { "QT_QPA_PLATFORM", QStringLiteral("xcb") } }),
        QPoint(900, 100));
    const auto placeIs = [&](QPoint place) {
        return waitFor([&] { return desktop.geometry(desktop.find(controlBoxTitle)).topLeft() == place; });
    };
    ASSERT_TRUE(placeIs(QPoint(900, 100)));

    xrandr(desktop, { QStringLiteral("--delmonitor"), QStringLiteral("right") });
    EXPECT_TRUE(placeIs(QPoint(800 - 65, 100)));
}

} // namespace
