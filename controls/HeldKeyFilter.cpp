// Held-key filter.
#include "controls/HeldKeyFilter.h"

#include <QGuiApplication>
#include <QKeyEvent>

HeldKeyFilter::HeldKeyFilter(QObject* parent)
    : QObject(parent)
{
    // A release that happens while another program has the focus never reaches us.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            release();
    });
}

HeldKeyFilter::~HeldKeyFilter() { release(); }

void HeldKeyFilter::hold(int key, quint32 nativeScanCode)
{
    key_ = key;
    scanCode_ = nativeScanCode;
    releasedAt_ = 0;
    if (!holding_)
        qGuiApp->installEventFilter(this);
    holding_ = true;
}

void HeldKeyFilter::release()
{
    if (holding_)
        qGuiApp->removeEventFilter(this);
    holding_ = false;
}

bool HeldKeyFilter::isHeldKey(const QKeyEvent& event) const
{
    return scanCode_ != 0 && event.nativeScanCode() != 0 ? event.nativeScanCode() == scanCode_ : event.key() == key_;
}

// A key cannot be pressed twice without a release between, so every press of
// the held key before its release is its auto-repeat, whether or not the
// platform marks it so. Only the last key pressed repeats: once another is
// pressed, the held one sends nothing more until it is released.
//
// The X server sends each repeat as a release and a press with one time
// stamp, and Qt marks the pair as a repeat only when the press has already
// arrived with the release. So a release it does not mark ends nothing yet:
// a press of the same time stamp is the repeat that goes on, any later press
// a new one, which types again.
bool HeldKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (!isHeldKey(key)) {
        if (type == QEvent::KeyPress)
            release();
        return false;
    }
    if (type == QEvent::KeyRelease) {
        if (key.isAutoRepeat())
            return true;
        // Without a time stamp nothing can pair it with a press: it ends the holding.
        if (key.timestamp() == 0)
            release();
        releasedAt_ = key.timestamp();
        return false;
    }
    if (releasedAt_ != 0 && key.timestamp() != releasedAt_) {
        release();
        return false;
    }
    releasedAt_ = 0;
    // The shortcut check is taken here, so that no shortcut acts on the
    // held key; the press that follows it is dropped.
    if (type == QEvent::ShortcutOverride)
        event->accept();
    return true;
}
