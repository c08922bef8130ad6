// Plays a wave file without waiting for it to finish.
#pragma once

#include <QObject>
#include <QString>

class TPlayWav final : public QObject {
    Q_OBJECT
public:
    explicit TPlayWav(QObject* owner);

    void PlayFile(const QString& fileName);
};
