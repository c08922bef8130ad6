// The applications installed for the user: the desktop entries of every
// applications folder of the XDG data search list, filtered as a menu shows them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct Application {
    QString id; // desktop file id, e.g. "org.example.Editor.desktop"
    QString name; // localised
    QStringList command; // program and arguments, wrapped in a terminal where asked
    QString workFolder; // the entry's Path; empty for none
    QString icon; // the entry's Icon: a theme name or an absolute file
    QStringList categories;
};

struct CatalogSettings {
    QStringList dataFolders; // searched for applications/, most important first
    QString locale; // chooses localised names
    QStringList desktops; // the current desktop names, for OnlyShowIn and NotShowIn
    QStringList searchPath; // folders where TryExec programs are looked for

    // From $XDG_DATA_HOME, $XDG_DATA_DIRS, the message locale, $XDG_CURRENT_DESKTOP and $PATH.
    static CatalogSettings fromEnvironment();
};

// Every visible application, one per desktop file id, in no particular order.
// An entry of a more important folder overrides (or, hidden, removes) the
// entry of the same id in a later one.
QList<Application> installedApplications(const CatalogSettings& settings);

// The application the desktop entry file `file` describes, whether or not a
// menu would show it, and for a link entry xdg-open of its address; nothing
// for a file that is no small regular file, no application or link, or one
// whose program is not there.
std::optional<Application> applicationFromFile(const QString& file, const CatalogSettings& settings);

// The command run for a terminal application.
QStringList inTerminal(const QStringList& command);
