// Sound output behind one seam, so tests can see what is asked to play.
#pragma once

#include <QString>
#include <optional>

namespace platform {

class Sound {
public:
    virtual ~Sound() = default;

    // Starts playing the wave file and returns at once; a sound already
    // playing is cut off. When there is no such file, or it cannot be
    // played, the system's default sound is given instead.
    virtual void playAsync(const QString& path) = 0;
};

// True when the file is a RIFF wave file whose format block and whole
// sample data are present. The multimedia decoder waits for ever for the
// rest of a file cut short, and the next sound would wait behind it.
bool isCompleteWaveFile(const QString& path);

// The sound output in use: the system's unless a test installed its own.
Sound& sound();

// Installs `replacement` (not owned); nullptr restores the system's output.
void setSound(Sound* replacement);

// The system's output calls `beep` instead of the bell; nullptr restores the bell.
void setBeepForTesting(void (*beep)());

// The system's output loads its wave player module from `path` (a file
// name without suffix) instead of beside the program or in the installed
// module folder; nullopt restores the search. Takes effect before the first sound.
void setWavePlayerModuleForTesting(std::optional<QString> path);

} // namespace platform
