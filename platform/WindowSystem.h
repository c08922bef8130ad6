// The window system the program's windows go to, and what it lets a
// program do with them. Qt goes to a Wayland compositor whenever one runs
// and its plug-in is installed, yet a compositor neither tells a program
// where its windows are nor lets it place them or keep one above the
// others; most Wayland sessions also run an X server (Xwayland), whose
// window managers do all three.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Made before the application object exists: when the session offers an X
// server (DISPLAY set) and the user has chosen no platform (QT_QPA_PLATFORM
// unset or empty, no -platform argument), asks Qt for X, with the session's
// Wayland compositor behind it should the X server not answer.
class XPlatformRequest final {
public:
    XPlatformRequest(int argc, const char* const* argv);
    XPlatformRequest(const XPlatformRequest&) = delete;
    XPlatformRequest& operator=(const XPlatformRequest&) = delete;

    bool made() const { return made_; }
    // Once the application object exists: puts QT_QPA_PLATFORM back as the
    // session had it, so that the programs started later inherit the
    // session's environment, never this program's own choice.
    void withdraw();

private:
    bool made_ = false;
    std::optional<QByteArray> before_;
};

// Whether the window system lets the program place its windows, tells
// where they are and keeps one above the others: X does, Wayland does not.
bool windowsPlaceable();
void setWindowsPlaceableForTesting(std::optional<bool> placeable);

// Why "Always on Top" cannot be had here, and how to have it; for its hint.
QString stayOnTopUnavailableHint();
// The line said on standard error at start where windows cannot be placed:
// what is unavailable, and how to get it.
QString windowSystemLimits();

} // namespace platform
