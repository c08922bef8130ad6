// Window system choice and limits.
#include "platform/WindowSystem.h"

#include <QGuiApplication>
#include <cstring>

namespace platform {

namespace {

const char* const platformVariable = "QT_QPA_PLATFORM";
std::optional<bool> placeableOverride;

// Qt takes the option with one dash or two.
bool platformArgumentGiven(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    return false;
}

} // namespace

XPlatformRequest::XPlatformRequest(int argc, const char* const* argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty(platformVariable)
        || platformArgumentGiven(argc, argv))
        return;
    if (qEnvironmentVariableIsSet(platformVariable))
        before_ = qgetenv(platformVariable);
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    qputenv(platformVariable, wayland ? QByteArrayLiteral("xcb;wayland") : QByteArrayLiteral("xcb"));
    made_ = true;
}

void XPlatformRequest::withdraw()
{
    if (!made_)
        return;
    made_ = false;
    if (before_)
        qputenv(platformVariable, *before_);
    else
        qunsetenv(platformVariable);
}

bool windowsPlaceable()
{
    if (placeableOverride)
        return *placeableOverride;
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void setWindowsPlaceableForTesting(std::optional<bool> placeable) { placeableOverride = placeable; }

QString stayOnTopUnavailableHint()
{
    return QStringLiteral("Wayland keeps no window on top of the others. Started through an X server "
                          "(Xwayland), Kavro Start can.");
}

QString windowSystemLimits()
{
    return QStringLiteral("Kavro Start: on Wayland the control box cannot keep its saved place, stay on top "
                          "or come forward when started again; start it through an X server for these "
                          "(Xwayland: DISPLAY set, QT_QPA_PLATFORM unset or xcb).");
}

} // namespace platform
