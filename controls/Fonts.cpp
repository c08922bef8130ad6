// Design face.
#include "controls/Fonts.h"

#include <QStringList>

QFont designFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("Nimbus Sans"),
        QStringLiteral("Liberation Sans"), QStringLiteral("Arial") });
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
