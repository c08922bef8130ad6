// Cross-thread wake-up over an event counter the owner's event loop watches.
#include "platform/ThreadWakeup.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace platform {

ThreadWakeup::ThreadWakeup(QObject* parent)
    : QObject(parent)
{
    fd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd_ < 0)
        return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ThreadWakeup::drain);
}

ThreadWakeup::~ThreadWakeup()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

void ThreadWakeup::wake()
{
    if (fd_ < 0) {
        // No event counter: fall back on a queued call.
        QMetaObject::invokeMethod(this, &ThreadWakeup::woken, Qt::QueuedConnection);
        return;
    }
    const std::uint64_t one = 1;
    // A full counter (never in practice) still leaves the owner woken.
    while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) { }
}

void ThreadWakeup::drain()
{
    std::uint64_t count = 0;
    while (::read(fd_, &count, sizeof count) < 0 && errno == EINTR) { }
    emit woken();
}

} // namespace platform
