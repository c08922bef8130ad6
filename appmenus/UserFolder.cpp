// The user's start folder.
#include "appmenus/UserFolder.h"

#include "appmenus/DemoSounds.h"
#include "appmenus/IconPicture.h"
#include "platform/FileIO.h"
#include "platform/FilePaths.h"
#include "rtl/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

appmenus::MadeMenus makeInstalledApplicationMenus(const QString& startFolder)
{
    const CatalogSettings settings = CatalogSettings::fromEnvironment();
    const IconLookup icons(settings.dataFolders);
    return appmenus::writeMenus(startFolder, installedApplications(settings), &icons);
}

QStringList prepareUserFolder(const QString& folder, const QString& notesProgram)
{
    QStringList made;
    if (!QFileInfo(folder).isDir()) {
        platform::makePrivateFolderIfMissing(folder);
        made.append(folder);
    }
    // Found as the program finds them, whatever the letter case.
    if (!platform::fileExistsIgnoringCase(platform::dataPath(folder, QStringLiteral("\\ConFigs\\Main.ini"))))
        made.append(makeInstalledApplicationMenus(folder).menus);
    const QString configs = platform::dataPath(folder, QStringLiteral("\\ConFigs"));
    const struct {
        const char* name;
        QByteArray (*wave)();
    } sounds[] = { { "Alarm.wav", alarmWave }, { "Magic.wav", magicWave } };
    for (const auto& sound : sounds) {
        const QString path = configs + u'/' + QLatin1String(sound.name);
        if (!platform::fileExistsIgnoringCase(path)) {
            platform::replaceFileAtomically(path, sound.wave(), 0644);
            made.append(path);
        }
    }
    const QString notes = folder + QStringLiteral("/PinNotes");
    // A dangling link counts as there: the user may have pointed it somewhere on purpose.
    if (!QFileInfo(notes).exists() && !QFileInfo(notes).isSymLink() && QFileInfo(notesProgram).isFile()) {
        if (!QFile::link(notesProgram, notes))
            throw rtl::Exception(QStringLiteral("Cannot make the link %1").arg(notes));
        made.append(notes);
    }
    return made;
}
