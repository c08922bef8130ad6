// The installed layout.
#include "platform/InstallLayout.h"

#include "KavroBuild.h"
#include "platform/FilePaths.h"

#include <QFileInfo>

namespace platform {

bool keepsFilesBesideProgram(const QString& programFolder)
{
    const QString module = QStringLiteral("/kavro_sound.so");
    const bool installed = !QFileInfo::exists(programFolder + module)
        && QFileInfo::exists(programFolder + QStringLiteral("/" KAVRO_MODULE_FOLDER) + module);
    return !installed && isWritableFolder(programFolder);
}

} // namespace platform
