// Test hooks of the program.
#include "testhooks/TestHooks.h"

#include "desk/Just1_32.h"
#include "platform/Dialogs.h"
#include "session/Session.h"
#include "testhooks/StartupProbe.h"

#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace testhooks {

namespace {

void say(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

class PrintingDialogs final : public platform::Dialogs {
public:
    void information(const QString& caption, const QString& text) override { print("information", caption, text); }
    void error(const QString& text) override { print("error", QStringLiteral("Kavro Start"), text); }

private:
    static void print(const char* kind, const QString& caption, const QString& text)
    {
        say(QStringLiteral("%1|%2|%3").arg(QLatin1String(kind), caption, text));
    }
};

// Tells a test driving two copies what the first one did for the second,
// and lets it minimise the first to see it come forward.
void traceInstance(TPreviousInstance& probe)
{
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

StartupHooks fromEnvironment()
{
    if (qEnvironmentVariable("KAVRO_DIALOGS") == QLatin1String("print")) {
        static PrintingDialogs printing;
        platform::setDialogs(&printing);
    }
    StartupHooks hooks;
    if (!qEnvironmentVariableIsEmpty("KAVRO_INSTANCE_TRACE"))
        hooks.probeMade = traceInstance;
    hooks.controlBoxShowing = [](QWidget& controlBox) { reportFirstPaint(&controlBox); };
    hooks.eventLoopStarting = reportWhenIdle;
    return hooks;
}

} // namespace testhooks
