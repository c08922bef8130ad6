// Start-up sequence.
#include "app/Startup.h"

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Session.h"
#include "desk/Blanker.h"
#include "desk/Just1_32.h"
#include "desk/MyAlarm1.h"
#include "desk/Scrollpas.h"
#include "editor/Unit2.h"
#include "launcher/myver.h"
#include "planner/Planner.h"
#include "platform/Files.h"
#include "platform/Quit.h"
#include "platform/SingleInstance.h"
#include "platform/StartupProbe.h"
#include "platform/SystemColors.h"
#include "sysinfo/About.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWindow>
#include <cstdio>

// Each window's creation handler runs as it is created, so the control box
// has recorded the start folder before the launcher reads its first menu.
Windows::Windows(const std::function<void()>& afterControlBox)
{
    Session& s = session();
    form1_ = std::make_unique<TForm1>();
    s.Form1 = form1_.get();
    if (afterControlBox)
        afterControlBox();
    mainForm_ = std::make_unique<TMainForm>();
    s.MainForm = mainForm_.get();
    form2_ = std::make_unique<TForm2>();
    s.Form2 = form2_.get();
    mainFormer_ = std::make_unique<TMainFormer>();
    s.MainFormer = mainFormer_.get();
    alarm1_ = std::make_unique<TAlarm1>();
    s.Alarm1 = alarm1_.get();
    form3_ = std::make_unique<TForm3>();
    s.Form3 = form3_.get();
    form4_ = std::make_unique<TForm4>();
    s.Form4 = form4_.get();
}

Windows::~Windows()
{
    Session& s = session();
    form4_.reset();
    s.Form4 = nullptr;
    form3_.reset();
    s.Form3 = nullptr;
    alarm1_.reset();
    s.Alarm1 = nullptr;
    mainFormer_.reset();
    s.MainFormer = nullptr;
    form2_.reset();
    s.Form2 = nullptr;
    mainForm_.reset();
    s.MainForm = nullptr;
    form1_.reset();
    s.Form1 = nullptr;
}

namespace {

void say(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

// With KAVRO_INSTANCE_TRACE set, the program says on its standard output
// when its event loop runs and what it did for each request of a later
// copy, and it also obeys "minimize", so that a test driving two copies can
// see the first one come forward.
// Lets the event loop paint `window` once (for at most a fifth of a second).
void waitForFirstPaint(QWidget* window)
{
    class PaintSeen final : public QObject {
    public:
        bool eventFilter(QObject*, QEvent* event) override
        {
            seen = seen || event->type() == QEvent::Paint;
            return false;
        }
        bool seen = false;
    } paint;
    window->installEventFilter(&paint);
    QElapsedTimer waited;
    waited.start();
    while (!paint.seen && !platform::quitPosted() && waited.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    window->removeEventFilter(&paint);
}

// Holds back the clicks and keys that reach a window while it lives, and
// hands them on, in their order, when it goes: until every window exists, a
// click on the control box could ask for one that is not there yet. (Leaving
// them in the window system's queue instead can leave them there until the
// next event of the window system comes.)
class InputHeldBack final : public QObject {
public:
    explicit InputHeldBack(QWidget* window)
        : window_(window->windowHandle())
    {
        qApp->installEventFilter(this);
    }
    ~InputHeldBack() override
    {
        qApp->removeEventFilter(this);
        for (std::unique_ptr<QEvent>& event : held_)
            if (window_)
                QCoreApplication::postEvent(window_, event.release());
    }
    InputHeldBack(const InputHeldBack&) = delete;
    InputHeldBack& operator=(const InputHeldBack&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        static const QSet<QEvent::Type> input { QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
            QEvent::MouseButtonDblClick, QEvent::MouseMove, QEvent::Wheel, QEvent::KeyPress, QEvent::KeyRelease };
        if (!window_ || watched != window_ || !input.contains(event->type()))
            return false;
        held_.emplace_back(event->clone());
        return true;
    }

private:
    QPointer<QWindow> window_;
    std::vector<std::unique_ptr<QEvent>> held_;
};

void traceInstance(TPreviousInstance& probe)
{
    if (qEnvironmentVariableIsEmpty("KAVRO_INSTANCE_TRACE"))
        return;
    QObject::connect(
        &probe, &TPreviousInstance::requestHandled, &probe, [](const QByteArray& request, const QStringList& done) {
            if (request != "minimize") {
                say(QStringLiteral("request %1: %2").arg(QString::fromLatin1(request), done.join(u", ")));
                return;
            }
            for (QWidget* window : programWindows()) {
                if (window && window->isVisible()) {
                    window->showMinimized();
                    say(QStringLiteral("minimized ") + window->objectName());
                }
            }
        });
    // Said once the event loop runs, which a copy that took the place of an
    // ending first one also reaches.
    QTimer::singleShot(0, &probe, [&probe] {
        if (!probe.Found())
            say(QStringLiteral("running"));
    });
}

} // namespace

int runKavroStart(int argc, char** argv)
{
    const CommandLine options(argc, argv);
    if (const std::optional<int> ended = options.runAndEnd())
        return *ended;
    KavroApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    platform::installClassicLook(app);
    if (!options.enterStartFolder())
        return 1;
    // The probe runs under the default title, before the program names itself.
    TPreviousInstance probe(defaultApplicationTitle(platform::programFilePath()), platform::runtimeFolder());
    setPreviousInstance(&probe);
    traceInstance(probe);
    QApplication::setApplicationName(QStringLiteral("Kavro Start"));

    int result = 0;
    {
        // The control box shows as soon as it exists, so it appears before the
        // other six windows are built; a quit asked for meanwhile keeps it hidden.
        std::unique_ptr<InputHeldBack> startUpInput;
        Windows windows([&startUpInput] {
            if (platform::quitPosted())
                return;
            platform::reportFirstPaint(session().Form1);
            session().Form1->show();
            startUpInput = std::make_unique<InputHeldBack>(session().Form1);
            waitForFirstPaint(session().Form1);
        });
        startUpInput.reset();
        // A quit asked for during start-up ends the program when its event loop would start.
        if (!platform::quitPosted()) {
            platform::reportWhenIdle();
            result = app.exec();
        }
    }
    setPreviousInstance(nullptr);
    return result;
}
