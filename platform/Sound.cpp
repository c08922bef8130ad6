// The system's sound output: the wave player module, loaded at the first
// sound, with the bell as the default sound.
#include "platform/Sound.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace platform {

namespace {

using PlayWave = void (*)(const QString&);

class SystemSound final : public Sound {
public:
    void playAsync(const QString& path) override
    {
        if (!QFileInfo(path).isFile()) {
            QApplication::beep();
            return;
        }
        if (!play_) {
            QLibrary player(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kavro_sound")));
            play_ = reinterpret_cast<PlayWave>(player.resolve("kavroPlayWave"));
        }
        if (play_)
            play_(path);
        else
            QApplication::beep();
    }

private:
    PlayWave play_ = nullptr;
};
Sound* current = nullptr;

SystemSound& systemSound()
{
    // Made on first use, so a program that never plays a sound never opens the audio output.
    static SystemSound instance;
    return instance;
}

} // namespace

Sound& sound() { return current ? *current : systemSound(); }

void setSound(Sound* replacement) { current = replacement; }

} // namespace platform
