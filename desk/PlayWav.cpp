// Wave player.
#include "desk/PlayWav.h"

#include "platform/Sound.h"

namespace {

constexpr qsizetype longestName = 250;

// The text from the last dot of the file name on; a dot in a folder name does not count.
QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return {};
    const qsizetype separator = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (separator > dot)
        return {};
    return name.mid(dot);
}

} // namespace

TPlayWav::TPlayWav(QObject* owner)
    : QObject(owner)
{
}

void TPlayWav::PlayFile(const QString& fileName)
{
    if (extensionOf(fileName).toUpper() != QLatin1String(".WAV"))
        return;
    if (fileName.size() > longestName)
        return;
    platform::sound().playAsync(fileName);
}
