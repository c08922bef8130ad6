// Log-in start.
#include "desktop/Autostart.h"

#include "desktop/DesktopEntry.h"
#include "platform/XdgPaths.h"
#include "rtl/Errors.h"
#include "rtl/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

QString autostartEntryPath() { return xdg::configHome() + QStringLiteral("/autostart/kavro-start.desktop"); }

QByteArray autostartEntry(const QString& program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Kavro Start\n"
                          "Comment=Program launcher with a clock and desk accessories\n"
                          "Exec=%1\n"
                          "Icon=kavro-start\n"
                          "Terminal=false\n"
                          "Categories=Utility;Clock;\n")
        .arg(execLine({ program, QStringLiteral("--user-folder") }))
        .toUtf8();
}

void setAutostart(bool on, const QString& program)
{
    const QString path = autostartEntryPath();
    if (!on) {
        if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
            rtl::raiseInOutFromErrno(errno);
        return;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        rtl::raiseInOut(rtl::ioAccessDenied);
    rtl::replaceFileAtomically(path, autostartEntry(program), 0644);
}
