// Local time seam.
#include "platform/Clock.h"

#include <QFileInfo>
#include <QMutex>
#include <algorithm>
#include <atomic>
#include <ctime>
#include <sys/stat.h>

namespace platform {

static QMutex clockMutex;
static std::function<QDateTime()> clockSource;
// The minute since the epoch in which the time zone was last read.
static time_t zoneReadInMinute = -1;
static std::atomic<int> zoneWatches { 0 };

QDateTime now()
{
    QMutexLocker lock(&clockMutex);
    if (clockSource)
        return clockSource();
    return QDateTime::currentDateTime();
}

QTime timeOfDay()
{
    QMutexLocker lock(&clockMutex);
    if (clockSource)
        return clockSource().time();
    timespec utc {};
    clock_gettime(CLOCK_REALTIME, &utc);
    // The zone's rules, once read, already hold its changes to and from
    // summer time; reading them again only notices a new zone.
    if (zoneWatches.load() == 0 && utc.tv_sec / 60 != zoneReadInMinute) {
        tzset();
        zoneReadInMinute = utc.tv_sec / 60;
    }
    tm local {};
    if (!localtime_r(&utc.tv_sec, &local))
        return QDateTime::currentDateTime().time();
    // A leap second shows as the last second of its minute.
    return QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(utc.tv_nsec / 1000000));
}

void setClockForTesting(std::function<QDateTime()> source)
{
    QMutexLocker lock(&clockMutex);
    clockSource = std::move(source);
}

namespace {

// The file the C library reads the zone from: the one TZ names, or
// /etc/localtime without TZ. None when TZ holds the zone's rules themselves
// ("UTC0"; "EST5EDT" is a file, and the library reads it first).
QString zoneFileName()
{
    if (!qEnvironmentVariableIsSet("TZ"))
        return QStringLiteral("/etc/localtime");
    QString name = qEnvironmentVariable("TZ");
    if (name.startsWith(u':'))
        name.remove(0, 1);
    if (name.isEmpty())
        return {};
    if (!name.startsWith(u'/')) {
        QString folder = qEnvironmentVariable("TZDIR");
        if (folder.isEmpty())
            folder = QStringLiteral("/usr/share/zoneinfo");
        name = folder + u'/' + name;
    }
    return QFileInfo(name).isFile() ? name : QString();
}

// Without TZ the C library looks whether /etc/localtime changed each time it
// is asked to read the zone; the file TZ names it reads again only when the
// text of TZ changes. So for a moment TZ names the same file another way.
void readZoneAgain()
{
    if (qEnvironmentVariableIsSet("TZ")) {
        const QByteArray tz = qgetenv("TZ");
        const QByteArray name = tz.startsWith(':') ? tz.mid(1) : tz;
        qputenv("TZ", (name.startsWith('/') ? QByteArrayLiteral("/.") : QByteArrayLiteral("./")) + name);
        tzset();
        qputenv("TZ", tz);
    }
    tzset();
}

} // namespace

ZoneWatch::ZoneWatch()
    : file_(zoneFileName())
{
    ++zoneWatches;
    tzset();
    if (file_.isEmpty())
        return;
    seen_ = look(file_);
    const QString folder = QFileInfo(file_).absolutePath();
    if (QFileInfo(folder).isDir())
        watcher_.addPath(folder);
    if (seen_.size >= 0)
        watcher_.addPath(file_);
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_, [this] { changed(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_, [this] { changed(); });
}

ZoneWatch::~ZoneWatch() { --zoneWatches; }

ZoneWatch::Seen ZoneWatch::look(const QString& file)
{
    struct stat status { };
    if (::stat(QFile::encodeName(file).constData(), &status) != 0)
        return {};
    return { quint64(status.st_dev), quint64(status.st_ino),
        qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec, qint64(status.st_size) };
}

// Anything in the folder may have changed; only a change of the file itself counts.
void ZoneWatch::changed()
{
    const Seen now = look(file_);
    if (now == seen_)
        return;
    seen_ = now;
    // A watch stays on the file it was put on (for a link, the file it named):
    // a file that took the name's place is watched anew.
    if (watcher_.files().contains(file_))
        watcher_.removePath(file_);
    if (now.size >= 0)
        watcher_.addPath(file_);
    readZoneAgain();
}

} // namespace platform
