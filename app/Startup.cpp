// Start-up sequence.
#include "app/Startup.h"

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/FollowedMenus.h"
#include "appmenus/DroppedGadget.h"
#include "appmenus/MenuFollower.h"
#include "controls/AccessibleControls.h"
#include "controls/PaintSeen.h"
#include "desk/Blanker.h"
#include "desk/Just1_32.h"
#include "desk/MyAlarm1.h"
#include "desk/Scrollpas.h"
#include "editor/Unit2.h"
#include "launcher/myver.h"
#include "planner/Planner.h"
#include "platform/FilePaths.h"
#include "platform/Quit.h"
#include "platform/SingleInstance.h"
#include "platform/SystemColors.h"
#include "platform/WindowSystem.h"
#include "sysinfo/About.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSet>
#include <QWindow>
#include <cstdio>

// Each window's creation handler runs as it is created, so the control box
// has recorded the start folder before the launcher reads its first menu.
Windows::Windows(const std::function<void()>& afterControlBox)
{
    accessibility::installControlInterfaces();
    TForm1& controlBox = create<TForm1>(&Session::Form1);
    if (afterControlBox)
        afterControlBox();
    TMainForm& launcher = create<TMainForm>(&Session::MainForm);
    TForm2& editor = create<TForm2>(&Session::Form2);
    editor.setApplyMenu([&launcher] { launcher.ApplyMenu(); });
    editor.setDropReader([](const QUrl& url, QColor face) {
        return droppedGadget(url, session().StartFolder, face, CatalogSettings::fromEnvironment());
    });
    QObject::connect(&launcher, &TMainForm::gadgetDropped, &editor, &TForm2::FormDragDrop);
    create<TMainFormer>(&Session::MainFormer);
    create<TAlarm1>(&Session::Alarm1).setAlarm(controlBox.KavroAlarm1);
    create<TForm3>(&Session::Form3);
    create<TForm4>(&Session::Form4);
}

template <class Window> Window& Windows::create(TForm* Session::*reference)
{
    auto window = std::make_unique<Window>();
    Window& made = *window;
    owned_.push_back({ std::move(window), reference });
    session().*reference = &made;
    return made;
}

Windows::~Windows()
{
    while (!owned_.empty()) {
        TForm* Session::*reference = owned_.back().reference;
        owned_.pop_back();
        session().*reference = nullptr;
    }
}

namespace {

// Lets the event loop paint `window` once (for at most a fifth of a second).
void waitForFirstPaint(QWidget* window)
{
    PaintSeen paint(window);
    QElapsedTimer waited;
    waited.start();
    while (!paint.seen() && !platform::quitPosted() && waited.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
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

} // namespace

int runKavroStart(int argc, char** argv, const StartupHooks& hooks)
{
    const CommandLine options(argc, argv);
    if (const std::optional<int> ended = options.runAndEnd())
        return *ended;
    platform::XPlatformRequest x(argc, argv);
    KavroApplication app(argc, argv);
    x.withdraw();
    if (!platform::windowsPlaceable())
        std::fprintf(stderr, "%s\n", qPrintable(platform::windowSystemLimits()));
    app.setQuitOnLastWindowClosed(false);
    platform::installClassicLook(app);
    if (!options.enterStartFolder())
        return 1;
    // The probe runs under the default title, before the program names itself.
    TPreviousInstance probe(defaultApplicationTitle(platform::programFilePath()), platform::runtimeFolder());
    setPreviousInstance(&probe);
    if (options.show())
        probe.setShowRequest(*options.show());
    probe.holdShowRequests();
    if (hooks.probeMade)
        hooks.probeMade(probe);
    QApplication::setApplicationName(QStringLiteral("Kavro Start"));

    int result = 0;
    {
        // The control box shows as soon as it exists, so it appears before the
        // other six windows are built; a quit asked for meanwhile keeps it hidden.
        std::unique_ptr<InputHeldBack> startUpInput;
        Windows windows([&startUpInput, &hooks] {
            if (platform::quitPosted())
                return;
            QWidget* controlBox = session().Form1;
            if (hooks.controlBoxShowing)
                hooks.controlBoxShowing(*controlBox);
            controlBox->show();
            startUpInput = std::make_unique<InputHeldBack>(controlBox);
            waitForFirstPaint(controlBox);
        });
        startUpInput.reset();
        const std::unique_ptr<MenuFollower> followed = followInstalledApplications();
        // A quit asked for during start-up ends the program when its event loop would start.
        if (!platform::quitPosted()) {
            probe.showHeldRequests();
            if (hooks.eventLoopStarting)
                hooks.eventLoopStarting();
            result = app.exec();
        }
    }
    setPreviousInstance(nullptr);
    return result;
}
