// Start-up measurement.
#include "testhooks/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace testhooks {

namespace {

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

bool probing() { return qEnvironmentVariableIsSet("KAVRO_REPORT_SHOWN"); }

bool painted = false;

// Waits, turn by turn of the event loop, for the first paint before reporting.
void reportIdleOncePainted()
{
    if (!painted) {
        QTimer::singleShot(1, QCoreApplication::instance(), reportIdleOncePainted);
        return;
    }
    std::printf("idle %ld\n", residentKiB());
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

class FirstPaint final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            painted = true;
            std::printf("shown\n");
            std::fflush(stdout);
        }
        return false;
    }

private:
    bool reported_ = false;
};

} // namespace

void reportFirstPaint(QWidget* window)
{
    if (probing())
        window->installEventFilter(new FirstPaint(window));
}

void reportWhenIdle()
{
    if (!probing())
        return;
    QMetaObject::invokeMethod(QCoreApplication::instance(), reportIdleOncePainted, Qt::QueuedConnection);
}

} // namespace testhooks
