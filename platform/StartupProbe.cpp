// Start-up measurement.
#include "platform/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <cstdio>

namespace platform {

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

class FirstPaint final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    std::printf("shown %ld\n", residentKiB());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool reported_ = false;
};

} // namespace

void reportFirstPaint(QWidget* window)
{
    if (qEnvironmentVariableIsSet("KAVRO_REPORT_SHOWN"))
        window->installEventFilter(new FirstPaint(window));
}

} // namespace platform
