// The note's place.
#include "pinnotes/NotePlace.h"

#include "platform/FilePaths.h"
#include "platform/InstallLayout.h"
#include "platform/XdgPaths.h"

NotePlace notePlace(const QString& programFolder)
{
    const QString beside = programFolder + QStringLiteral("/PinNotes.txt");
    if (platform::keepsFilesBesideProgram(programFolder))
        return { beside, {} };
    return { xdg::programDataFolder() + QStringLiteral("/PinNotes.txt"), beside };
}
