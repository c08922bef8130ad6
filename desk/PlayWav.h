// Plays a wave file without waiting for it to finish.
#pragma once

#include <QObject>
#include <QString>

class TPlayWav final : public QObject {
    Q_OBJECT
public:
    explicit TPlayWav(QObject* owner);

    // Starts the file playing and returns at once. Names whose extension is
    // not ".WAV" in any letter case, and names longer than 250 characters,
    // are passed over silently. A wave file that cannot be found gives the
    // system's default sound.
    void PlayFile(const QString& fileName);
};
