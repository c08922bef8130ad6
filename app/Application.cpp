// Application object.
#include "app/Application.h"

#include "platform/Dialogs.h"

namespace {

const char* const NoXSharedMemory = "QT_XCB_NO_MITSHM";
bool xSharedMemoryTurnedOff = false;

// Painted through shared memory, every flush to the X server is followed by
// a query whose answer wakes the program twice more for each second the
// clock ticks. Sent within the request, the pixels of a small update cost
// less, and the rare full-screen paints only a little more. Asked for before
// the connection is made, unless the user has chosen either way.
int& withoutXSharedMemory(int& argc)
{
    if (!qEnvironmentVariableIsSet(NoXSharedMemory)) {
        qputenv(NoXSharedMemory, "1");
        xSharedMemoryTurnedOff = true;
    }
    return argc;
}

} // namespace

KavroApplication::KavroApplication(int& argc, char** argv)
    : QApplication(withoutXSharedMemory(argc), argv)
{
    // The programs the launcher starts paint as they would anyway.
    if (xSharedMemoryTurnedOff)
        qunsetenv(NoXSharedMemory);
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
