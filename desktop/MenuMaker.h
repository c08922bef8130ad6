// Menus made from the installed applications: one column per group of main
// categories, a launcher script and a picture for each application, and
// "More …" menus for columns longer than the launcher screen.
#pragma once

#include "desktop/ApplicationCatalog.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class IconLookup;

namespace menus {

constexpr int ColumnCount = 4;

// The column (0 to 3) of an application: the group of the first main
// category among `categories`; the last column when there is none.
int columnOf(const QStringList& categories);

// The title of column `column` (0 to 3).
QString columnTitle(int column);

// What a run of the maker wrote.
struct MadeMenus {
    QString mainMenu; // ConFigs/Main.ini
    QStringList menus; // every menu file, the main menu first
    int applications = 0;
    int pictures = 0;
};

// Writes, below `startFolder`: Launchers/<name>.sh for each application,
// Pictures/<name>.bmp for each one whose icon `icons` finds, the further
// menus ConFigs/<Group>-<page>.ini and last ConFigs/Main.ini, each file
// replaced atomically. The same applications give the same files. Raises
// rtl::EInOutError when a file cannot be written, and rtl::Exception for a
// folder whose name would break a menu line.
MadeMenus writeMenus(const QString& startFolder, QList<Application> applications, const IconLookup* icons);

} // namespace menus
