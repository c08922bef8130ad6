// The user's own start folder, made on first use, and menus of the installed
// applications made from the environment's XDG folders.
#pragma once

#include "appmenus/MenuMaker.h"

#include <QString>
#include <QStringList>

// Menus of the applications the desktop shows, found through $XDG_DATA_HOME
// and $XDG_DATA_DIRS, with their icons, written into `startFolder` (see
// appmenus::writeMenus).
appmenus::MadeMenus makeInstalledApplicationMenus(const QString& startFolder);

// Makes `folder` (mode 0700) if it does not exist, then whatever of a start
// folder is missing in it: ConFigs/Main.ini from the installed applications,
// ConFigs/Alarm.wav and ConFigs/Magic.wav, and PinNotes as a link to
// `notesProgram` when that exists. Nothing that is there is replaced.
// Returns the paths it made; raises rtl::Exception when it cannot make one.
QStringList prepareUserFolder(const QString& folder, const QString& notesProgram);
