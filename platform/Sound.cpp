// Wave playback through the multimedia sound effect, with the bell as the default sound.
#include "platform/Sound.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace platform {

namespace {

class SystemSound final : public Sound {
public:
    void playAsync(const QString& path) override
    {
        if (!QFileInfo(path).isFile()) {
            QApplication::beep();
            return;
        }
        if (!effect_) {
            // Owned by the application, so it goes before the audio back end does.
            effect_ = new QSoundEffect(qApp);
            // A file that turns out not to be a playable wave gets the default sound.
            QObject::connect(effect_, &QSoundEffect::statusChanged, effect_, [effect = effect_.data()] {
                if (effect->status() == QSoundEffect::Error)
                    QApplication::beep();
            });
        }
        effect_->stop();
        const QUrl source = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
        if (effect_->source() != source)
            effect_->setSource(source);
        else if (effect_->status() == QSoundEffect::Error)
            QApplication::beep();
        effect_->play();
    }

private:
    QPointer<QSoundEffect> effect_;
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
