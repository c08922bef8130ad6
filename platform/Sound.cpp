// The system's sound output: the wave player module, loaded at the first
// sound, with the bell as the default sound.
#include "platform/Sound.h"

#include "KavroBuild.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <optional>

namespace platform {

namespace {

using BeepFunction = void (*)();
using PlayWave = void (*)(const QString&, BeepFunction);

BeepFunction testBeep = nullptr;
std::optional<QString> testModule;

void beep()
{
    if (testBeep)
        testBeep();
    else
        QApplication::beep();
}

// The module beside the program (a build tree) or in the installed module folder.
PlayWave loadWavePlayer()
{
    QStringList candidates;
    if (testModule) {
        candidates.append(*testModule);
    } else {
        const QDir programFolder(QCoreApplication::applicationDirPath());
        candidates.append(programFolder.filePath(QStringLiteral("kavro_sound")));
        candidates.append(programFolder.filePath(QStringLiteral(KAVRO_MODULE_FOLDER "/kavro_sound")));
    }
    for (const QString& candidate : candidates) {
        QLibrary player(candidate);
        if (auto play = reinterpret_cast<PlayWave>(player.resolve("kavroPlayWave")))
            return play;
    }
    return nullptr;
}

class SystemSound final : public Sound {
public:
    void playAsync(const QString& path) override
    {
        if (!QFileInfo(path).isFile()) {
            beep();
            return;
        }
        if (!play_)
            play_ = loadWavePlayer();
        if (play_)
            play_(path, beep);
        else
            beep();
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

void setBeepForTesting(void (*beepFunction)()) { testBeep = beepFunction; }

void setWavePlayerModuleForTesting(std::optional<QString> path) { testModule = std::move(path); }

} // namespace platform
