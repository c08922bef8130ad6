// Quit requests.
#include "platform/Quit.h"

#include <QCoreApplication>

namespace platform {

static bool posted = false;

void postQuit()
{
    posted = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

bool quitPosted() { return posted; }

} // namespace platform
