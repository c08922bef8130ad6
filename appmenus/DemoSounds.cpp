// Synthesised sounds, sample for sample the demo folder's.
#include "appmenus/DemoSounds.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace {

struct Note {
    double frequency; // 0 is a rest
    double seconds;
};

constexpr int rate = 22050;

void put(QByteArray& out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// Each note fades in over 10 ms and out over 20 ms, so no note clicks.
QByteArray wave(std::initializer_list<Note> notes)
{
    QByteArray samples;
    for (const Note& note : notes) {
        const int count = int(rate * note.seconds);
        for (int i = 0; i < count; ++i) {
            const double envelope = std::min({ 1.0, i / (rate * 0.01), (count - i) / (rate * 0.02) });
            const double value = note.frequency == 0 ? 0.0 : std::sin(2 * std::numbers::pi * note.frequency * i / rate);
            put(samples, quint16(qint16(12000 * envelope * value)), 2);
        }
    }
    QByteArray file("RIFF");
    put(file, quint32(36 + samples.size()), 4);
    file.append("WAVEfmt ");
    put(file, 16, 4); // PCM format block
    put(file, 1, 2); // PCM
    put(file, 1, 2); // mono
    put(file, rate, 4);
    put(file, rate * 2, 4); // bytes per second
    put(file, 2, 2); // bytes per frame
    put(file, 16, 2); // bits per sample
    file.append("data");
    put(file, quint32(samples.size()), 4);
    return file + samples;
}

} // namespace

QByteArray alarmWave() { return wave({ { 880, 0.25 }, { 0, 0.1 }, { 880, 0.25 }, { 0, 0.1 }, { 880, 0.4 } }); }

QByteArray magicWave() { return wave({ { 523, 0.12 }, { 659, 0.12 }, { 784, 0.12 }, { 1047, 0.3 } }); }
