// A signal from any thread to the thread that owns the object, carrying no
// data: whatever the woken side needs it reads under its own lock.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

class ThreadWakeup final : public QObject {
    Q_OBJECT
public:
    explicit ThreadWakeup(QObject* parent = nullptr);
    ~ThreadWakeup() override;

    // Safe from any thread. Wake-ups that arrive before the owner gets
    // round to them are folded into one `woken`.
    void wake();

signals:
    // Emitted on the owning thread.
    void woken();

private:
    void drain();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace platform
