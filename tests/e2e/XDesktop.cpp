// Virtual X display, window manager, window queries and XTest input.
#include "XDesktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

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

// A window property's items: bytes for 8-bit items, longs for 32-bit ones, as Xlib hands them.
struct Property {
    QByteArray data;
    int format = 0;
    unsigned long count = 0;
};

Property readProperty(Display* display, Window window, const char* name, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Property property;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, type, &actualType,
            &format, &count, &after, &data)
            == Success
        && data && (type == AnyPropertyType || actualType == type)) {
        const qsizetype itemSize = format == 32 ? qsizetype(sizeof(long)) : format / 8;
        property = { QByteArray(reinterpret_cast<const char*>(data), qsizetype(count) * itemSize), format, count };
    }
    if (data)
        XFree(data);
    return property;
}

QList<unsigned long> longsOf(const Property& property)
{
    if (property.format != 32)
        return {};
    const auto* items = reinterpret_cast<const unsigned long*>(property.data.constData());
    return QList<unsigned long>(items, items + property.count);
}

QString titleOf(Display* display, Window window)
{
    const Property name = readProperty(display, window, "_NET_WM_NAME", XInternAtom(display, "UTF8_STRING", False));
    if (name.format == 8)
        return QString::fromUtf8(name.data);
    return QString::fromLatin1(readProperty(display, window, "WM_NAME", XA_STRING).data);
}

bool viewable(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// A window the window manager has taken on carries WM_STATE; the windows
// inside it (a control with an X window of its own) are not windows to a user.
bool isClient(Display* display, Window window)
{
    return readProperty(display, window, "WM_STATE", AnyPropertyType).count > 0;
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
        const bool client = isClient(display, children[i]);
        if ((client || parent == root) && titleOf(display, children[i]) == title && viewable(display, children[i]))
            found = children[i];
        else if (depth > 0 && !client)
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

XDesktop::XDesktop(bool withWindowManager)
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

    if (!withWindowManager)
        return;
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
    return longsOf(readProperty(display_, DefaultRootWindow(display_), name, AnyPropertyType));
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
    const Atom above = XInternAtom(display_, "_NET_WM_STATE_ABOVE", False);
    return longsOf(readProperty(display_, window, "_NET_WM_STATE", XA_ATOM)).contains(above);
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
