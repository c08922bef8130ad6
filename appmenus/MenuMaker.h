// Menus made from the installed applications: one column per group of main
// categories, a launcher script and a picture for each application, and
// "More …" menus for columns longer than the launcher screen; made once, and
// then kept current with what the user changed left alone (the pages' layout
// and the merge are MenuMerge's).
#pragma once

#include "appmenus/ApplicationCatalog.h"
#include "appmenus/MenuMerge.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class IconLookup;

namespace appmenus {

// What a run of the maker wrote.
struct MadeMenus {
    QString mainMenu; // ConFigs/Main.ini
    QStringList menus; // every menu file, the main menu first
    QStringList changed; // the menu files this run wrote anew or removed
    int applications = 0;
    int pictures = 0;
};

// Writes, below `startFolder`: Launchers/<name>.sh for each application,
// Pictures/<name>.bmp for each one whose icon `icons` finds, the further
// menus ConFigs/<Group>-<page>.ini and last ConFigs/Main.ini, each file
// replaced atomically, and the record of what it made beside them. The same
// applications give the same files. Raises rtl::EInOutError when a file
// cannot be written, and rtl::Exception for a folder whose name would break a
// menu line.
MadeMenus writeMenus(const QString& startFolder, QList<Application> applications, const IconLookup* icons);

// Brings the menus writeMenus made below `startFolder` up to `applications`:
// a new application takes a free place in its column (or a further page), a
// gone one's gadget goes, and every part of a page the user changed since
// stays as it is. Only files whose content changes are written. Nothing, and
// nothing touched, when the folder has no record of made menus or its main
// menu is gone. Raises as writeMenus does.
std::optional<MadeMenus> followMenus(
    const QString& startFolder, const QList<Application>& applications, const IconLookup* icons);

} // namespace appmenus
