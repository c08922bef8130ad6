// Starting other programs.
#pragma once

#include <QString>

namespace platform {

// Starts the program file at `path` as a detached process of its own, in
// the current folder, without a shell and without arguments; the path is
// the program itself. Raises rtl::EProcessError, naming the file, when the
// program cannot be started.
void startProgram(const QString& path);

// Test seam: when set, receives every start instead of the system.
using ProgramStarter = void (*)(const QString& path);
void setProgramStarterForTesting(ProgramStarter starter);

} // namespace platform
