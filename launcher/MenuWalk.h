// The menus a user can reach from the start menu through "Menu" gadgets,
// read for finding gadgets in them.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace finding {

struct ReachableMenu {
    // The menu file with every link followed: the same file is one menu
    // whatever path names it.
    QString path;
    // The caption of the "Menu" gadget that first leads to it; empty for the start menu.
    QString via;
    // Gadgets 1 to 56.
    QStringList captions;
};

// The start menu and the menus its "Menu" gadgets lead to, and theirs in
// turn, breadth first. Each file is read once; a file that is missing or
// cannot be read as a menu is left out without a word, and so are the
// menus past the first `limit`.
std::vector<ReachableMenu> reachableMenus(const QString& startMenu, int limit = 256);

} // namespace finding
