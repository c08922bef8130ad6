// Files and folders: existence tests, the current folder, and paths that are
// found whatever the letter case of their components.
#pragma once

#include <QString>
#include <optional>

namespace platform {

// The path itself when it exists; otherwise each component that does not
// exist exactly is looked up without regard to letter case, one at a time.
// Components that match nothing are kept as given.
QString resolvePath(const QString& path);

// `folder` joined with the entry of that folder whose name equals `name`
// when only ASCII letters are folded to one case (the exact name first,
// then the first such entry in byte order); `folder` joined with `name`
// when there is none. Other letters never match another case of themselves.
QString findIgnoringAsciiCase(const QString& folder, const QString& name);

// `startFolder` followed by a suffix written with backslashes
// ("\ConFigs\Main.ini"), with the platform's separators and resolved.
QString dataPath(const QString& startFolder, const QString& suffix);

// True for an existing regular file (found as resolvePath finds it), never for a folder.
bool fileExistsIgnoringCase(const QString& path);

// True when anything at all stands at `path` itself, also a symbolic link
// that leads nowhere.
bool isPathTaken(const QString& path);

// True for a regular file (links followed) this process may run.
bool isExecutableFile(const QString& path);

// Removes the file `path`; nothing to remove is no error. Raises EInOutError
// when it stays.
void removeFile(const QString& path);

// The folder part of a program path: the text before its last separator;
// the root keeps its separator ("/x" gives "/").
QString folderOf(const QString& path);

// True for an existing folder this process may create files in.
bool isWritableFolder(const QString& path);

// Makes the folder `path` for this user alone (mode 0700), and the folders
// above it as usual; an existing folder is left as it is. Raises
// EInOutError when it cannot.
void makePrivateFolderIfMissing(const QString& path);

QString currentFolder();

// Makes `folder` the process's current folder; raises EInOutError on failure.
void setCurrentFolder(const QString& folder);

// The home folder the system's user list gives the user running this
// process; nothing when it gives none.
std::optional<QString> accountHomeFolder();

// Full path of the running program file.
QString programFilePath();

// Makes programFilePath() answer `path` (a test's stand-in); nullopt restores the real one.
void setProgramFilePathForTesting(std::optional<QString> path);

} // namespace platform
