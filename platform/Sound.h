// Sound output behind one seam, so tests can see what is asked to play.
#pragma once

#include <QString>

namespace platform {

class Sound {
public:
    virtual ~Sound() = default;

    // Starts playing the wave file and returns at once; a sound already
    // playing is cut off. When there is no such file, or it cannot be
    // played, the system's default sound is given instead.
    virtual void playAsync(const QString& path) = 0;
};

// The sound output in use: the system's unless a test installed its own.
Sound& sound();

// Installs `replacement` (not owned); nullptr restores the system's output.
void setSound(Sound* replacement);

} // namespace platform
