// Gadget pictures from application icons.
#include "desktop/IconPicture.h"

#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <algorithm>

IconLookup::IconLookup(const QStringList& dataFolders, const QString& theme)
    : savedSearchPaths_(QIcon::themeSearchPaths())
    , savedFallbackPaths_(QIcon::fallbackSearchPaths())
    , savedTheme_(QIcon::themeName())
{
    QStringList icons;
    QStringList pixmaps;
    for (const QString& folder : dataFolders) {
        icons.append(folder + QStringLiteral("/icons"));
        pixmaps.append(folder + QStringLiteral("/pixmaps"));
    }
    QIcon::setThemeSearchPaths(icons);
    QIcon::setFallbackSearchPaths(pixmaps);
    // A theme that none of the folders holds would find nothing at all, not
    // even the icons every theme falls back to: hicolor's.
    const QString wanted = theme.isEmpty() ? savedTheme_ : theme;
    const bool held = !wanted.isEmpty() && std::any_of(icons.cbegin(), icons.cend(), [&](const QString& folder) {
        return QFileInfo::exists(folder + u'/' + wanted + QStringLiteral("/index.theme"));
    });
    QIcon::setThemeName(held ? wanted : QStringLiteral("hicolor"));
}

IconLookup::~IconLookup()
{
    QIcon::setThemeSearchPaths(savedSearchPaths_);
    QIcon::setFallbackSearchPaths(savedFallbackPaths_);
    QIcon::setThemeName(savedTheme_);
}

QImage IconLookup::find(const QString& icon, int side) const
{
    if (icon.isEmpty())
        return {};
    QIcon found;
    if (icon.startsWith(u'/')) {
        if (QFileInfo(icon).isFile())
            found = QIcon(icon);
    } else {
        // A name given with its file type still names a theme icon.
        QString name = icon;
        for (const char* suffix : { ".png", ".svg", ".xpm" })
            if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
                name.chop(4);
        found = QIcon::fromTheme(name);
    }
    if (found.isNull())
        return {};
    return found.pixmap(QSize(side, side)).toImage();
}

QImage gadgetPicture(const QImage& icon, QColor face, int side)
{
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(face);
    if (icon.isNull())
        return picture;
    const int room = side - 2;
    const QImage fitted = icon.width() > room || icon.height() > room
        ? icon.scaled(room, room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        : icon;
    QPainter painter(&picture);
    painter.drawImage((side - fitted.width()) / 2, (side - fitted.height()) / 2, fitted);
    return picture;
}
