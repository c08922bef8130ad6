// Quit requests: posted, so that one made during start-up ends the program
// when its event loop would start (start-up checks quitPosted() before
// running the loop, since a modal box's loop may swallow the posted request).
#pragma once

namespace platform {

void postQuit();

// True once a quit has been posted.
bool quitPosted();

} // namespace platform
