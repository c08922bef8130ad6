// Virtual X display, window manager, window queries and XTest input.
#include "XDesktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

// Xlib's macros (None, Bool, KeyPress...) clash with Qt's names: Qt goes first.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

constexpr int startTimeoutMs = 30000;
// Qt's double-click interval is 400 ms; clicks at one spot are kept further apart.
constexpr int doubleClickSpacingMs = 650;
constexpr int sameSpotPixels = 8;

QElapsedTimer& sinceStart()
{
    static QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started;
}

// A window may go away between two questions about it: that is no failure.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

QString titleOf(Display* display, Window window)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    QString title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data)
            == Success
        && data && type == utf8) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
    } else {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = QString::fromLatin1(name);
            XFree(name);
        }
    }
    if (data)
        XFree(data);
    return title;
}

bool viewable(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

Window findBelow(Display* display, Window parent, const QString& title, int depth)
{
    Window root = 0, parentOut = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    // Top of the stack first.
    for (unsigned int i = count; i-- > 0 && !found;) {
        if (titleOf(display, children[i]) == title && viewable(display, children[i]))
            found = children[i];
        else if (depth > 0)
            found = findBelow(display, children[i], title, depth - 1);
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(20);
    }
    return true;
}

XDesktop::XDesktop()
{
    XSetErrorHandler(ignoreErrors);
    server_.setProgram(QStringLiteral("Xvfb"));
    // The server names its display on standard output once it takes connections.
    server_.setArguments({ QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
        QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
        QStringLiteral("-noreset") });
    server_.start();
    QByteArray number;
    const bool named = waitFor(
        [&] {
            number += server_.readAllStandardOutput();
            return number.contains('\n') || server_.state() == QProcess::NotRunning;
        },
        startTimeoutMs);
    if (!named || !number.contains('\n')) {
        failure_ = QStringLiteral("Xvfb did not start: ") + QString::fromLocal8Bit(server_.readAllStandardError());
        return;
    }
    displayName_ = u':' + QString::fromLatin1(number.trimmed());
    display_ = XOpenDisplay(displayName_.toLatin1().constData());
    if (!display_) {
        failure_ = QStringLiteral("cannot open display ") + displayName_;
        return;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        failure_ = QStringLiteral("the display has no XTest extension");
        return;
    }
    // A colour of its own for the bare desktop, so that a black screen shows.
    const Window root = DefaultRootWindow(display_);
    XSetWindowBackground(display_, root, 0x3A6EA5);
    XClearWindow(display_, root);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), displayName_);
    windowManager_.setProcessEnvironment(environment);
    windowManager_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    windowManager_.setStandardOutputFile(QProcess::nullDevice());
    windowManager_.start(QStringLiteral("openbox"), { QStringLiteral("--sm-disable") });
    if (!waitForWindowManager(startTimeoutMs))
        failure_ = QStringLiteral("openbox did not take over the display");
}

XDesktop::~XDesktop()
{
    if (display_)
        XCloseDisplay(display_);
    for (QProcess* process : { &windowManager_, &server_ }) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
}

bool XDesktop::waitForWindowManager(int timeoutMs)
{
    return waitFor(
        [this] {
            return windowManager_.state() == QProcess::Running && !rootProperty("_NET_SUPPORTING_WM_CHECK").isEmpty();
        },
        timeoutMs);
}

QList<unsigned long> XDesktop::rootProperty(const char* name) const
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QList<unsigned long> values;
    const Atom property = XInternAtom(display_, name, False);
    if (XGetWindowProperty(display_, DefaultRootWindow(display_), property, 0, 4096, False, AnyPropertyType, &type,
            &format, &count, &after, &data)
            == Success
        && data && format == 32) {
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        values = QList<unsigned long>(items, items + count);
    }
    if (data)
        XFree(data);
    return values;
}

XDesktop::WindowId XDesktop::find(const QString& title) const
{
    return findBelow(display_, DefaultRootWindow(display_), title, 2);
}

QRect XDesktop::geometry(WindowId window) const
{
    XWindowAttributes attributes;
    if (!window || !XGetWindowAttributes(display_, window, &attributes) || attributes.map_state != IsViewable)
        return {};
    // The client's own upper-left corner on the screen, as xwininfo gives it; a frame would be off by its border.
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return QRect(x, y, attributes.width, attributes.height);
}

bool XDesktop::showing(WindowId window) const { return window && viewable(display_, window); }

bool XDesktop::managed(WindowId window) const { return window && rootProperty("_NET_CLIENT_LIST").contains(window); }

XDesktop::WindowId XDesktop::activeWindow() const { return rootProperty("_NET_ACTIVE_WINDOW").value(0); }

bool XDesktop::stackedAbove(WindowId upper, WindowId lower) const
{
    const QList<unsigned long> bottomToTop = rootProperty("_NET_CLIENT_LIST_STACKING");
    const qsizetype u = bottomToTop.indexOf(upper);
    const qsizetype l = bottomToTop.indexOf(lower);
    return u >= 0 && l >= 0 && u > l;
}

bool XDesktop::keptAbove(WindowId window) const
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom state = XInternAtom(display_, "_NET_WM_STATE", False);
    const Atom above = XInternAtom(display_, "_NET_WM_STATE_ABOVE", False);
    bool found = false;
    if (XGetWindowProperty(display_, window, state, 0, 64, False, XA_ATOM, &type, &format, &count, &after, &data)
            == Success
        && data) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        found = std::find(atoms, atoms + count, above) != atoms + count;
    }
    if (data)
        XFree(data);
    return found;
}

void XDesktop::click(QPoint at, int button)
{
    const qint64 since = sinceStart().elapsed() - lastClickAt_;
    if ((at - lastClick_).manhattanLength() <= sameSpotPixels && since < doubleClickSpacingMs)
        QThread::msleep(static_cast<unsigned long>(doubleClickSpacingMs - since));
    XTestFakeMotionEvent(display_, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(display_, static_cast<unsigned int>(button), True, CurrentTime);
    XTestFakeButtonEvent(display_, static_cast<unsigned int>(button), False, CurrentTime);
    XSync(display_, False);
    lastClick_ = at;
    lastClickAt_ = sinceStart().elapsed();
}

void XDesktop::keys(const QStringList& keySyms)
{
    QList<KeyCode> codes;
    for (const QString& name : keySyms)
        codes.append(XKeysymToKeycode(display_, XStringToKeysym(name.toLatin1().constData())));
    for (const KeyCode code : codes)
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
    for (qsizetype i = codes.size(); i-- > 0;)
        XTestFakeKeyEvent(display_, codes[i], False, CurrentTime);
    XSync(display_, False);
}

QImage XDesktop::screenshot(QRect part) const
{
    const Window root = DefaultRootWindow(display_);
    XWindowAttributes attributes;
    XGetWindowAttributes(display_, root, &attributes);
    const QRect screen(0, 0, attributes.width, attributes.height);
    const QRect area = part.isEmpty() ? screen : part.intersected(screen);
    XImage* shot = XGetImage(display_, root, area.x(), area.y(), static_cast<unsigned int>(area.width()),
        static_cast<unsigned int>(area.height()), AllPlanes, ZPixmap);
    if (!shot)
        return {};
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            image.setPixel(x, y, static_cast<QRgb>(XGetPixel(shot, x, y)) | 0xFF000000u);
    XDestroyImage(shot);
    return image;
}
