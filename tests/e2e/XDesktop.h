// A virtual X display with a real window manager, seen and driven the way a
// user would: windows found by their exact titles, real pointer and key
// input through the XTest extension, screenshots of the whole screen.
#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class XDesktop final {
public:
    using WindowId = unsigned long;

    // Starts Xvfb on a free display and openbox on it, and waits until the
    // window manager has taken over. ok() tells whether it worked. Without
    // `withWindowManager`, the display has no window manager.
    explicit XDesktop(bool withWindowManager = true);
    ~XDesktop();
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    bool ok() const { return display_ != nullptr && failure_.isEmpty(); }
    QString failure() const { return failure_; }
    // ":N", for the DISPLAY of programs started on it.
    QString displayName() const { return displayName_; }

    // A showing (viewable) window whose title is exactly `title`; 0 when none.
    WindowId find(const QString& title) const;
    // The window's client area in screen coordinates (not its frame's), empty when it is not showing.
    QRect geometry(WindowId window) const;
    // Whether the window manager has taken the window on; until then it may
    // keep clicks on it for itself.
    bool managed(WindowId window) const;
    // The window the window manager has given the focus.
    WindowId activeWindow() const;
    // Whether `upper` is stacked above `lower` among the managed windows.
    bool stackedAbove(WindowId upper, WindowId lower) const;
    // Whether the window manager keeps it above ordinary windows.
    bool keptAbove(WindowId window) const;

    // Left (1) or right (3) click at a screen point. Two clicks at one spot
    // are spaced beyond the double-click interval, so each counts alone.
    void click(QPoint at, int button = 1);
    // Presses the keys in order and releases them in reverse: {"Alt_L", "F4"}.
    void keys(const QStringList& keySyms);

    // The whole screen, or a part of it.
    QImage screenshot(QRect part = {}) const;

private:
    bool waitForWindowManager(int timeoutMs);
    QList<unsigned long> rootProperty(const char* name) const;

    struct _XDisplay* display_ = nullptr; // NOLINT(bugprone-reserved-identifier): Xlib names its display so
    QProcess server_;
    QProcess windowManager_;
    QString displayName_;
    QString failure_;
    QPoint lastClick_ { -100, -100 };
    qint64 lastClickAt_ = 0;
};

// Polls `done` until it holds or `timeoutMs` passes; never waits longer than needed.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 30000);
