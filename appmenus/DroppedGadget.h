// Gadgets made from what is dropped onto them, as the menu maker makes them:
// a launcher script and a picture of the icon.
#pragma once

#include "appmenus/ApplicationCatalog.h"
#include "session/GadgetFill.h"

#include <QColor>
#include <QString>
#include <QUrl>
#include <optional>

// The gadget `url` makes for a menu of `startFolder`: a desktop entry runs
// its application and shows its icon; a program runs in its own folder; a
// document, a folder or an address opens with xdg-open; these show the icon
// of their type. The launcher goes into Launchers/ and the icon, on `face`,
// into Pictures/, under names that no other file there holds. Nothing for a
// local file that is not there or an entry that starts nothing.
std::optional<GadgetFill> droppedGadget(
    const QUrl& url, const QString& startFolder, QColor face, const CatalogSettings& settings);
