// Which wave files go to the player: only whole ones.
#include "appmenus/DemoSounds.h"
#include "platform/Sound.h"
#include "support/TestSupport.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray chunk(const char* id, const QByteArray& data)
{
    QByteArray out(id, 4);
    char size[4];
    qToLittleEndian<quint32>(quint32(data.size()), size);
    out.append(size, 4).append(data);
    if (data.size() % 2)
        out.append('\0');
    return out;
}

QByteArray riff(const QByteArray& chunks) { return "RIFF" + QByteArray(4, '\x10') + "WAVE" + chunks; }

TEST(WaveFile, OnlyAWaveWithItsFormatAndAllItsSampleDataIsComplete)
{
    const QByteArray format = alarmWave().mid(20, 16); // the format block of a real wave
    const struct {
        const char* what;
        QByteArray data;
        bool complete;
    } cases[] = {
        { "the alarm", alarmWave(), true },
        { "a list chunk of odd length before the data",
            riff(chunk("fmt ", format) + chunk("LIST", "abc") + chunk("data", "12")), true },
        { "no samples at all", riff(chunk("fmt ", format) + chunk("data", "")), true },
        { "cut short in the samples", alarmWave().left(5000), false },
        { "cut short in a chunk before the data", riff(chunk("fmt ", format) + chunk("LIST", "abcd")).chopped(2),
            false },
        { "data before the format", riff(chunk("data", "12") + chunk("fmt ", format)), false },
        { "a format block too small", riff(chunk("fmt ", "1234") + chunk("data", "12")), false },
        { "no data chunk", riff(chunk("fmt ", format)), false },
        { "not a wave", QByteArrayLiteral("RIFF\x10\0\0\0AVI LIST"), false },
        { "text", "just some text", false },
        { "empty", "", false },
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath("sound.wav");
        testing_support::writeFile(path, c.data);
        EXPECT_EQ(platform::isCompleteWaveFile(path), c.complete) << c.what;
    }
    EXPECT_FALSE(platform::isCompleteWaveFile(dir.path()));
    EXPECT_FALSE(platform::isCompleteWaveFile(dir.filePath("missing.wav")));
}

} // namespace
