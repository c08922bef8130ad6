// The log-in start of the control box: a desktop entry in the user's autostart folder.
#pragma once

#include <QByteArray>
#include <QString>

// $XDG_CONFIG_HOME/autostart/kavro-start.desktop.
QString autostartEntryPath();

// The entry that starts `program` with the user's own start folder.
QByteArray autostartEntry(const QString& program);

// Writes the entry for `program` when `on`, removes it otherwise (a missing
// entry is no error). Raises rtl::EInOutError when it cannot.
void setAutostart(bool on, const QString& program);
