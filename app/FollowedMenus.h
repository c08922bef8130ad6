// The user's own start folder follows the applications installed on the
// computer while the program runs.
#pragma once

#include <memory>

class MenuFollower;

// When the start folder is the user's own, watches the applications and
// keeps its made menus current; the menu on the launcher screen is read and
// shown again when a change rewrote or removed its file. The menus wait while
// the gadget editor is open, so that it never saves over a newer file.
// Null for any other start folder. The windows exist already.
std::unique_ptr<MenuFollower> followInstalledApplications();
