// The yardstick of the start-up and idle benchmarks: the smallest Qt window
// there is. With --tick it redraws a clock-sized square once a second; with
// --wake a timer wakes it once a second to do nothing.
#include "testhooks/StartupProbe.h"

#include <QApplication>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <memory>

namespace {

class TickingSquare final : public QWidget {
public:
    static constexpr QRect square { 0, 13, 64, 51 };

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(square, Qt::black);
        painter.setPen(Qt::white);
        const int second = QTime::currentTime().second();
        painter.drawLine(square.center(), square.center() + QPoint(second % 30 - 15, second / 30 * 40 - 20));
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Without --tick the window is a bare QWidget, drawing nothing of its own.
    const bool ticking = argc > 1 && std::strcmp(argv[1], "--tick") == 0;
    const bool waking = argc > 1 && std::strcmp(argv[1], "--wake") == 0;
    std::unique_ptr<QWidget> window = ticking ? std::make_unique<TickingSquare>() : std::make_unique<QWidget>();
    window->resize(65, 67);
    QTimer tick;
    if (ticking)
        QObject::connect(&tick, &QTimer::timeout, window.get(), [&window] { window->repaint(TickingSquare::square); });
    if (ticking || waking)
        tick.start(1000);
    testhooks::reportFirstPaint(window.get());
    window->show();
    testhooks::reportWhenIdle();
    return app.exec();
}
