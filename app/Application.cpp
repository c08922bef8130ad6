// Application object.
#include "app/Application.h"

#include "platform/Dialogs.h"

KavroApplication::KavroApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // The clock draws into an X window of its own; the controls beside it need none.
    setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
}

bool KavroApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        platform::reportException(error);
    } catch (...) {
        platform::dialogs().error(QStringLiteral("Unexpected error."));
    }
    return false;
}
