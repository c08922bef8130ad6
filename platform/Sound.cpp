// The system's sound output: the wave player module, loaded at the first
// sound, with the bell as the default sound.
#include "platform/Sound.h"

#include "KavroBuild.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QtEndian>
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
        if (!isCompleteWaveFile(path)) {
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
Sound* currentSound = nullptr;

SystemSound& systemSound()
{
    // Made on first use, so a program that never plays a sound never opens the audio output.
    static SystemSound instance;
    return instance;
}

quint32 littleEndian32(const char* bytes) { return qFromLittleEndian<quint32>(bytes); }

} // namespace

bool isCompleteWaveFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return false;
    bool format = false;
    qint64 offset = 12;
    for (int chunks = 0; chunks < 64 && offset + 8 <= size; ++chunks) {
        if (!file.seek(offset))
            return false;
        const QByteArray header = file.read(8);
        if (header.size() < 8)
            return false;
        const qint64 length = littleEndian32(header.constData() + 4);
        if (offset + 8 + length > size)
            return false; // the chunk runs past the end of the file
        if (header.startsWith("fmt "))
            format = length >= 16;
        else if (header.startsWith("data"))
            return format;
        offset += 8 + length + (length & 1); // chunks are padded to an even length
    }
    return false;
}

Sound& sound() { return currentSound ? *currentSound : systemSound(); }

void setSound(Sound* replacement) { currentSound = replacement; }

void setBeepForTesting(void (*beepFunction)()) { testBeep = beepFunction; }

void setWavePlayerModuleForTesting(std::optional<QString> path) { testModule = std::move(path); }

} // namespace platform
