// Wave playback through the multimedia sound effect, loaded at the first sound
// so that a program that never plays one never loads the audio libraries.
#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace {

QPointer<QSoundEffect> effect;
void (*defaultSound)() = nullptr;

} // namespace

// Starts `path` (an existing file) and returns at once; a sound already
// playing is cut off. A file that is not a playable wave gets `beep`, the
// system's default sound.
extern "C" Q_DECL_EXPORT void kavroPlayWave(const QString& path, void (*beep)())
{
    defaultSound = beep;
    if (!effect) {
        // Owned by the application, so it goes before the audio back end does.
        effect = new QSoundEffect(qApp);
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [] {
            if (effect->status() == QSoundEffect::Error && defaultSound)
                defaultSound();
        });
    }
    effect->stop();
    const QUrl source = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (effect->source() != source)
        effect->setSource(source);
    else if (effect->status() == QSoundEffect::Error)
        beep();
    effect->play();
}
