// The hooks by which the process tests and the benchmarks drive the whole
// program, chosen through its environment. They are built only into the
// program of a test build (CMake option KAVRO_TEST_HOOKS), never shipped:
//   KAVRO_DIALOGS=print     every message box is printed on standard output
//                           ("information|<caption>|<text>", "error|...") and
//                           returns at once;
//   KAVRO_INSTANCE_TRACE    (not empty) the program says "running" once its
//                           event loop runs and "request <r>: <done>" for each
//                           request of a later copy, and obeys "minimize";
//   KAVRO_REPORT_SHOWN      (set) see testhooks/StartupProbe.h.
#pragma once

#include "app/Startup.h"

namespace testhooks {

// Installs the printing message boxes when asked for, and returns the
// start-up hooks the environment asks for.
StartupHooks fromEnvironment();

} // namespace testhooks
