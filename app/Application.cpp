// Application object.
#include "app/Application.h"

#include "platform/Dialogs.h"

KavroApplication::KavroApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
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
