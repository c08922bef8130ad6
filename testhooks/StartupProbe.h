// Start-up measurement, for the start-up benchmark: with KAVRO_REPORT_SHOWN
// set in the environment, the first paint of a window prints "shown", and
// the first turn of the event loop prints "idle <resident kB>" and ends the program.
#pragma once

class QWidget;

namespace testhooks {

void reportFirstPaint(QWidget* window);

// Call right before the event loop starts.
void reportWhenIdle();

} // namespace testhooks
