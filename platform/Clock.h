// The current local date and time, replaceable by tests, and the watch that
// lets the time of day follow a change of the system's time zone.
#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <functional>

namespace platform {

QDateTime now();

// The local time of day that now() holds, for callers that ask every second
// (the clock's ticks): it costs no look at the zone file. While a ZoneWatch
// exists, the watch reads the zone again when it changes; otherwise this
// reads it once a minute.
QTime timeOfDay();

// Tests set a source of time; an empty function restores the system clock.
void setClockForTesting(std::function<QDateTime()> source);

// Follows the local time zone through the file system's change notification:
// the zone file (/etc/localtime, or the file TZ names) and its folder, since
// the file is usually a link that is replaced by a rename. When the file
// changes, the zone is read again at once, for timeOfDay() and for Qt's
// local time alike. Nothing is asked while nothing changes. Made and used on
// the thread of the event loop.
class ZoneWatch final {
public:
    ZoneWatch();
    ~ZoneWatch();
    ZoneWatch(const ZoneWatch&) = delete;
    ZoneWatch& operator=(const ZoneWatch&) = delete;

private:
    void changed();

    // What identifies the file's contents: a rename or a write changes it.
    struct Seen {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 modified = 0; // ns
        qint64 size = -1;
        bool operator==(const Seen&) const = default;
    };
    static Seen look(const QString& file);

    QFileSystemWatcher watcher_;
    QString file_; // none when TZ gives the zone's rules themselves
    Seen seen_;
};

} // namespace platform
