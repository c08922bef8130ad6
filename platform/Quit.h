// Quit requests: posted, so that one made during start-up ends the program
// when its event loop starts.
#pragma once

namespace platform {

void postQuit();

// True once a quit has been posted.
bool quitPosted();

} // namespace platform
