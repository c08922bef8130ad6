// The XDG base folders (data, configuration, the data search list) and the
// program's own folders beneath them.
#pragma once

#include <QString>
#include <QStringList>

namespace xdg {

// The user's home folder: $HOME, or the password database's entry.
QString homeFolder();

// $XDG_DATA_HOME, or ~/.local/share when it is unset, empty or not absolute.
QString dataHome();
// $XDG_CONFIG_HOME, or ~/.config likewise.
QString configHome();
// $XDG_DATA_DIRS in order (relative entries dropped), or /usr/local/share and /usr/share.
QStringList dataDirs();

// dataHome() followed by dataDirs(): the search list, most important first.
QStringList dataSearchList();

// dataHome()/kavro-start: the user's own start folder and the note's fallback home.
QString programDataFolder();
// configHome()/kavro-start: the fallback home of the position file.
QString programConfigFolder();

} // namespace xdg
