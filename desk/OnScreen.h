// Keeps a window within reach: wholly on one screen, whatever the screens
// have become since its place was saved (a monitor unplugged, a changed
// resolution, a hand-edited place).
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;

// Where `window` goes so that it lies wholly on one of `screens`: where it
// is when it does already; otherwise on the screen nearest its centre,
// moved no further than it must (its top left corner on the screen when it
// is larger than the screen). Where it is when there are no screens.
QPoint placeOnScreens(const QRect& window, const QList<QRect>& screens);

// Moves its window by placeOnScreens at once, and again whenever a screen
// goes away or changes its size. Nothing where the window system does not
// let a program place its windows.
class KeptOnScreen final : public QObject {
    Q_OBJECT
public:
    explicit KeptOnScreen(QWidget* window);
    void keep();

private:
    QWidget* window_;
};
