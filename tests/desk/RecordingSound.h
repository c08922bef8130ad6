// Records what is asked to play instead of playing it; installed for its lifetime.
#pragma once

#include "platform/Sound.h"

#include <QStringList>

class RecordingSound final : public platform::Sound {
public:
    RecordingSound() { platform::setSound(this); }
    ~RecordingSound() override { platform::setSound(nullptr); }
    RecordingSound(const RecordingSound&) = delete;
    RecordingSound& operator=(const RecordingSound&) = delete;

    void playAsync(const QString& path) override { played.append(path); }

    QStringList played;
};
