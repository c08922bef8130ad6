// The local time seam.
#include "platform/Clock.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using testing_support::ChildResult;
using testing_support::runInChild;
using testing_support::ScopedEnvironment;
using testing_support::waitUntil;

TEST(Clock, TimeOfDayIsTheLocalTimeThatNowHolds)
{
    // Zones on both sides of Greenwich and one off the whole hour, so that a
    // time of day taken in another zone, or from the wrong clock, cannot pass.
    for (const char* zone : { "UTC0", "EAST-5:30", "WEST+8" }) {
        {
            ScopedEnvironment tz("TZ", zone);
            tzset();
            const int before = platform::now().time().msecsSinceStartOfDay();
            const int taken = platform::timeOfDay().msecsSinceStartOfDay();
            const int after = platform::now().time().msecsSinceStartOfDay();
            if (after >= before) { // not across midnight
                EXPECT_GE(taken, before) << zone;
                EXPECT_LE(taken, after) << zone;
            }
        }
        tzset();
    }
}

TEST(ZoneWatch, TheTimeOfDayFollowsAZoneFileReplacedByARenameAtOnce)
{
    QTemporaryDir folder;
    const QString ownZone = folder.filePath(QStringLiteral("zones/here"));
    // The zone file is a link to UTC that is replaced by one to India's zone
    // (5:30 ahead all year), as the system's tools replace /etc/localtime.
    const struct {
        const char* name;
        QByteArray tz; // null: unset
        QString file;
    } cases[] = {
        { "no TZ", QByteArray(), QStringLiteral("/etc/localtime") },
        { "TZ naming /etc/localtime", QByteArrayLiteral(":/etc/localtime"), QStringLiteral("/etc/localtime") },
        { "TZ naming a file of its own", ':' + QFile::encodeName(ownZone), ownZone },
    };
    for (const auto& c : cases) {
        const ChildResult result = runInChild([&] {
            // /etc of the test's own, in a mount namespace of the child's own.
            const QString etc = folder.filePath(QStringLiteral("etc"));
            QDir().mkpath(etc);
            QDir().mkpath(QFileInfo(ownZone).path());
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
                || ::mount(QFile::encodeName(etc).constData(), "/etc", nullptr, MS_BIND, nullptr) != 0)
                ::_exit(77); // seen as CannotDropPrivileges
            const auto point = [&](const char* zone) {
                const QString next = c.file + QStringLiteral(".new");
                return QFile::link(QStringLiteral("/usr/share/zoneinfo/") + QLatin1String(zone), next)
                    && ::rename(QFile::encodeName(next).constData(), QFile::encodeName(c.file).constData()) == 0;
            };
            if (!point("UTC"))
                return false;
            if (c.tz.isNull())
                qunsetenv("TZ");
            else
                qputenv("TZ", c.tz);
            // How far the time of day is ahead of UTC, in seconds.
            const auto ahead = [] {
                const int utc = QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay();
                const int local = platform::timeOfDay().msecsSinceStartOfDay();
                return (local - utc + 86400 * 1000 + 500) % (86400 * 1000) / 1000;
            };
            platform::ZoneWatch watch;
            if (ahead() != 0 || !point("Asia/Kolkata"))
                return false;
            const bool followed = waitUntil([&] { return ahead() == 5 * 3600 + 1800; }, 10000);
            if (!followed)
                std::fprintf(stderr, "%s: %d s ahead\n", c.name, ahead());
            return followed && qgetenv("TZ") == c.tz;
        });
        if (result == ChildResult::CannotDropPrivileges)
            GTEST_SKIP() << "no mount namespace of its own for the test";
        EXPECT_EQ(result, ChildResult::Passed) << c.name;
    }
}
