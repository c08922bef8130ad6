// Log-in start.
#include "appmenus/Autostart.h"

#include "appmenus/DesktopEntry.h"
#include "platform/FileIO.h"
#include "platform/FilePaths.h"
#include "platform/XdgPaths.h"
#include "rtl/Errors.h"

#include <QDir>
#include <QFileInfo>

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
        platform::removeFile(path);
        return;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        rtl::raiseInOut(rtl::ioAccessDenied);
    platform::replaceFileAtomically(path, autostartEntry(program), 0644);
}
