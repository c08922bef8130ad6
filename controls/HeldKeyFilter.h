// Keeps the auto-repeat of a key held down from reaching any window: a
// key that opened a window by being held must not go on typing into it.
#pragma once

#include <QObject>

class QKeyEvent;

// Installed on the application while a key is held.
class HeldKeyFilter final : public QObject {
    Q_OBJECT
public:
    explicit HeldKeyFilter(QObject* parent = nullptr);
    ~HeldKeyFilter() override;

    // From now on, further presses of the key (Qt's key code and the
    // platform's scan code, 0 when unknown) go nowhere until it is released,
    // another key is pressed or the program loses the focus.
    void hold(int key, quint32 nativeScanCode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void release();
    bool isHeldKey(const QKeyEvent& event) const;

    bool holding_ = false;
    int key_ = 0;
    quint32 scanCode_ = 0;
    // The time stamp of a release of the held key not marked as a repeat; 0 while it is down.
    quint64 releasedAt_ = 0;
};
