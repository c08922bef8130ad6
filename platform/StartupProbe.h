// Start-up measurement: with KAVRO_REPORT_SHOWN set in the environment, the
// first paint of a window prints "shown <resident kB>" on standard output
// and ends the program. Used by the start-up benchmark.
#pragma once

class QWidget;

namespace platform {

void reportFirstPaint(QWidget* window);

} // namespace platform
