// The wave player's choice of what to play.
#include "desk/PlayWav.h"

#include "RecordingSound.h"

#include <gtest/gtest.h>

TEST(PlayWav, PlaysOnlyWaveNamesOfAtMost250Characters)
{
    const QString folder = QStringLiteral("/tmp/x.dir/");
    struct Case {
        QString name;
        bool played;
    };
    const Case cases[] = {
        { QStringLiteral("x.mp3"), false },
        { QStringLiteral("X.Wav"), true },
        { QStringLiteral("/sounds/alarm.WAV"), true },
        { QStringLiteral("alarm.wav.txt"), false },
        { QStringLiteral("wav"), false },
        // A dot in a folder name is no extension.
        { folder + QStringLiteral("wav"), false },
        { QStringLiteral("/a.wav/alarm"), false },
        { QString(246, u'a') + QStringLiteral(".wav"), true },
        { QString(247, u'a') + QStringLiteral(".wav"), false },
    };
    for (const Case& c : cases) {
        RecordingSound sound;
        TPlayWav player(nullptr);
        player.PlayFile(c.name);
        EXPECT_EQ(sound.played, c.played ? QStringList { c.name } : QStringList {}) << c.name.toStdString();
    }
}
