// Where the program runs from: an installed copy below a prefix (bin/ and
// lib/kavro-start/), or a build tree or any other folder.
#pragma once

#include <QString>

namespace platform {

// True when a program in `programFolder` keeps its own files (its position
// file, its note) beside itself: the folder is writable and the program is
// not an installed copy. An installed copy, whose wave player module lies in
// the module folder below the prefix rather than beside it, keeps them in the
// user's folders even where it could write to its own, as root can to /usr/bin.
bool keepsFilesBesideProgram(const QString& programFolder);

} // namespace platform
