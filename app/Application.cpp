// Application object.
#include "app/Application.h"

#include "platform/Dialogs.h"

namespace {

const char* const NoXSharedMemory = "QT_XCB_NO_MITSHM";
bool xSharedMemoryTurnedOff = false;

// Painted through shared memory, a paint over pixels the X server was handed
// before first waits for the server's answer to a query, which wakes the
// program twice more for each second the clock ticks: about a quarter of
// its processor time while idle. Sent within the request, the pixels of a
// small update cost less; a full-screen paint costs more (the launcher shows
// in about 18 ms instead of 7 at 1920 x 1080, 85 ms instead of 20 at
// 3840 x 2160), which happens a few times a day against 86,400 ticks. Asked
// for before the connection is made, unless the user has set it already.
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
