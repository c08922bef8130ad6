// The small shell scripts through which a "Run" gadget starts an
// application with its arguments, and the safe file names they are kept under.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A "#!/bin/sh" script that changes to `workFolder` (the user's home folder
// when empty), then execs `command` with every argument quoted. `title` goes
// into a comment line.
QByteArray launcherScript(const QStringList& command, const QString& workFolder, const QString& title);

// `text` in single quotes for the shell.
QString shellQuoted(const QString& text);

// A file name made of letters, digits and ". _ + -" only, not starting with
// a dot or a dash, at most 64 characters; "application" for nothing left.
QString safeFileName(const QString& text);
