// Windows that never leave the user stuck, on a virtual display under a real
// window manager with real X input: the key held to open the editor types
// nothing into it, a minimised editor comes back, and the control box never
// covers a dialog of its own.
#include "XDesktop.h"
#include "platform/FileIO.h"
#include "rtl/TextFile.h"
#include "session/Menu.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

// Xlib's macros clash with Qt's names: Qt goes first.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

const QString boxTitle = QStringLiteral("Kavro StratControl Box");
const QString launcherTitle = QStringLiteral("MainForm");
const QString editorTitle = QStringLiteral("Kavro Start Editor.");
const QString alarmTitle = QStringLiteral("Kavro Start Alarm.");

// What the tests ask of the X server beyond XDesktop: keys held down, the
// server's own key repeat, and a minimise request as a task bar sends it.
class XRequests final {
public:
    explicit XRequests(const QString& display)
        : display_(XOpenDisplay(display.toLatin1().constData()))
    {
    }
    ~XRequests()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    XRequests(const XRequests&) = delete;
    XRequests& operator=(const XRequests&) = delete;

    void repeatKeys(unsigned int delayMs, unsigned int intervalMs)
    {
        XAutoRepeatOn(display_);
        XkbSetAutoRepeatRate(display_, XkbUseCoreKbd, delayMs, intervalMs);
        XSync(display_, False);
    }
    void key(const char* keySym, bool down)
    {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XStringToKeysym(keySym)), down, CurrentTime);
        XSync(display_, False);
    }
    void minimise(XDesktop::WindowId window)
    {
        XIconifyWindow(display_, window, DefaultScreen(display_));
        XSync(display_, False);
    }
    // From now on, changes of the window's WM_STATE are counted.
    void watchState(XDesktop::WindowId window)
    {
        XSelectInput(display_, window, PropertyChangeMask);
        XSync(display_, False);
    }
    int stateChanges()
    {
        const Atom wmState = XInternAtom(display_, "WM_STATE", False);
        XEvent event;
        while (XCheckTypedEvent(display_, PropertyNotify, &event))
            stateChanges_ += event.xproperty.atom == wmState;
        return stateChanges_;
    }
    // The window manager's WM_STATE: 1 normal, 3 minimised, 0 none.
    long state(XDesktop::WindowId window) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const Atom wmState = XInternAtom(display_, "WM_STATE", False);
        long value = 0;
        if (XGetWindowProperty(display_, window, wmState, 0, 2, False, wmState, &type, &format, &count, &after, &data)
                == Success
            && data && format == 32 && count > 0)
            value = reinterpret_cast<const long*>(data)[0];
        if (data)
            XFree(data);
        return value;
    }

private:
    Display* display_;
    int stateChanges_ = 0;
};

class Strand : public ::testing::Test {
protected:
    // One display and window manager for the suite; each test starts the program afresh.
    static void SetUpTestSuite() { desktop_ = std::make_unique<XDesktop>(); }
    static void TearDownTestSuite() { desktop_.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(desktop_->ok()) << desktop_->failure().toStdString();
        // The caption lines of the sample menu are "G1" to "G56"; no gadget does anything.
        testing_support::writeFile(menuFile(), rtl::joinCrLf(testing_support::sampleMenuLines()));
    }

    void TearDown() override
    {
        if (HasFailure()) {
            const QString shot = QDir::current().filePath(
                QStringLiteral("Strand.%1.png")
                    .arg(QLatin1String(::testing::UnitTest::GetInstance()->current_test_info()->name())));
            if (desktop_->screenshot().save(shot))
                std::printf("screenshot of the failure: %s\n", qPrintable(shot));
        }
        program_.kill();
        program_.waitForFinished(5000);
        waitFor([] { return !desktop_->find(boxTitle) && !desktop_->find(launcherTitle); });
    }

    // The built program, from a folder of its own without a saved place, as at its first start.
    void start()
    {
        const QString program = programFolder_.filePath(QStringLiteral("KavroStart"));
        ASSERT_TRUE(::link(KAVRO_PROGRAM, QFile::encodeName(program).constData()) == 0
            || QFile::copy(QStringLiteral(KAVRO_PROGRAM), program));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), desktop_->displayName());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder_.path());
        environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
        environment.remove(QStringLiteral("KAVRO_DIALOGS"));
        program_.setProcessEnvironment(environment);
        program_.setWorkingDirectory(startFolder_.path());
        program_.start(program, {});
        ASSERT_FALSE(waitForBox(65).isEmpty());
        ASSERT_TRUE(waitFor([] { return desktop_->activeWindow() == desktop_->find(boxTitle); }));
    }

    QString menuFile() const { return startFolder_.filePath(QStringLiteral("ConFigs/Main.ini")); }

    static QRect waitForBox(int width)
    {
        QRect box;
        waitFor([&] {
            const XDesktop::WindowId window = desktop_->find(boxTitle);
            box = desktop_->geometry(window);
            return box.width() == width && desktop_->managed(window);
        });
        return box;
    }
    // The window, once the window manager has taken it on and given it the focus.
    static XDesktop::WindowId waitForActive(const QString& title)
    {
        XDesktop::WindowId window = 0;
        waitFor([&] {
            window = desktop_->find(title);
            return window && desktop_->managed(window) && desktop_->activeWindow() == window;
        });
        return window;
    }

    // Asks the window manager to minimise the window, then its owner, and
    // expects both back on the screen each time.
    void minimiseEither(const QString& title, const QString& ownerTitle)
    {
        const XDesktop::WindowId window = desktop_->find(title);
        const XDesktop::WindowId owner = desktop_->find(ownerTitle);
        x_.watchState(window);
        for (const XDesktop::WindowId minimised : { window, owner }) {
            const int before = x_.stateChanges();
            x_.minimise(minimised);
            ASSERT_TRUE(waitFor([&] { return x_.stateChanges() > before; })) << "the window manager did nothing";
            ASSERT_TRUE(waitFor([&] {
                return x_.state(window) == NormalState && desktop_->find(title) == window
                    && desktop_->find(ownerTitle) == owner;
            })) << title.toStdString()
                << (minimised == owner ? " with its owner" : "");
        }
    }

    static QRect unfold()
    {
        desktop_->click(waitForBox(65).topLeft() + QPoint(32, 38));
        return waitForBox(132);
    }

    // Clicks gadget n of the first column while `key` is held, and waits for the editor.
    XDesktop::WindowId openEditor(const char* key, int n, XDesktop::WindowId launcher)
    {
        const QRect screen = desktop_->geometry(launcher);
        x_.key(key, true);
        desktop_->click(screen.topLeft() + QPoint(49 + 80, 89 + 34 * (n - 1) + 16));
        return waitForActive(editorTitle);
    }

    static std::unique_ptr<XDesktop> desktop_;
    QTemporaryDir startFolder_;
    QTemporaryDir programFolder_;
    QTemporaryDir runtimeFolder_;
    QProcess program_;
    XRequests x_ { desktop_->displayName() };
};

std::unique_ptr<XDesktop> Strand::desktop_;

// Qt's X backend marks a repeat's release as such only when the press that
// follows it has already arrived, which it often has not.
TEST_F(Strand, TheKeyHeldToOpenTheEditorTypesNothingThereAndTypesAgainOnceReleased)
{
    x_.repeatKeys(250, 25);
    start();
    desktop_->click(unfold().topLeft() + QPoint(66 + 48, 23));
    const XDesktop::WindowId launcher = waitForActive(launcherTitle);
    ASSERT_TRUE(launcher);
    // A press after the release types once: "a" adds one, BackSpace takes one away.
    const struct {
        const char* key;
        int gadget;
        const char* saved;
    } tries[]
        = { { "a", 3, "G3a" }, { "BackSpace", 4, "G" }, { "a", 5, "G5a" }, { "BackSpace", 6, "G" }, { "a", 7, "G7a" } };
    for (const auto& attempt : tries) {
        const XDesktop::WindowId editor = openEditor(attempt.key, attempt.gadget, launcher);
        ASSERT_TRUE(editor) << attempt.key;
        // Held on for about forty of the server's repeats.
        QThread::msleep(1250);
        x_.key(attempt.key, false);
        // A press in the release's own millisecond would pass for a repeat.
        QThread::msleep(50);
        desktop_->keys({ QLatin1String(attempt.key) });
        // Save/Close, the floppy disk at the left of the row below the menu bar.
        const QRect client = desktop_->geometry(editor);
        desktop_->click(QPoint(client.left() + 15, client.bottom() - 259 + 1 + 18));
        ASSERT_TRUE(waitFor([] { return !desktop_->find(editorTitle); })) << attempt.key;
        const QList<QByteArray> lines = platform::readTextLines(menuFile(), menufile::LineCount);
        EXPECT_EQ(lines.value(menufile::gadgetLine(attempt.gadget, menufile::GadgetName) - 1).toStdString(),
            std::string(attempt.saved))
            << attempt.key;
        ASSERT_EQ(waitForActive(launcherTitle), launcher);
    }
}

// The window manager minimises a window that keeps another disabled or
// hidden, or that other window, which takes the first with it: nothing of
// the program would be left on the screen.
TEST_F(Strand, AMinimisedAlarmDialogComesBackWithTheControlBox)
{
    start();
    desktop_->click(unfold().topLeft() + QPoint(66 + 18, 13));
    ASSERT_TRUE(waitForActive(alarmTitle));
    minimiseEither(alarmTitle, boxTitle);
}

TEST_F(Strand, AMinimisedEditorComesBackWithTheLauncher)
{
    start();
    desktop_->click(unfold().topLeft() + QPoint(66 + 48, 23));
    const XDesktop::WindowId launcher = waitForActive(launcherTitle);
    ASSERT_TRUE(launcher);
    ASSERT_TRUE(openEditor("Shift_L", 3, launcher));
    x_.key("Shift_L", false);
    minimiseEither(editorTitle, launcherTitle);
}

// At the first start both come up in the middle of the screen.
TEST_F(Strand, TheControlBoxNeverCoversTheAlarmDialog)
{
    start();
    desktop_->click(unfold().topLeft() + QPoint(66 + 18, 13));
    const XDesktop::WindowId dialog = waitForActive(alarmTitle);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(desktop_->geometry(dialog).intersects(waitForBox(65)));
    EXPECT_TRUE(desktop_->stackedAbove(dialog, desktop_->find(boxTitle)));
}

} // namespace
