// Gadget pictures from application icons.
#include "appmenus/IconPicture.h"

#include "appmenus/DesktopEntry.h"
#include "platform/FileIO.h"

#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <climits>

namespace {

constexpr qsizetype maxIndexSize = qsizetype(1) << 20;

QStringList commaList(const QString& value)
{
    QStringList items;
    for (const QString& item : value.split(u',', Qt::SkipEmptyParts))
        if (!item.trimmed().isEmpty())
            items.append(item.trimmed());
    return items;
}

} // namespace

IconLookup::IconLookup(const QStringList& dataFolders, const QString& theme)
    : savedSearchPaths_(QIcon::themeSearchPaths())
    , savedFallbackPaths_(QIcon::fallbackSearchPaths())
    , savedTheme_(QIcon::themeName())
{
    QStringList& icons = iconFolders_;
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
    theme_ = held ? wanted : QStringLiteral("hicolor");
    QIcon::setThemeName(theme_);
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
        if (QImage bitmap = themeBitmap(name, side); !bitmap.isNull())
            return bitmap;
        found = QIcon::fromTheme(name);
    }
    if (found.isNull())
        return {};
    return found.pixmap(QSize(side, side)).toImage();
}

// The index of the first icons/ folder that has one names the theme's
// folders, which may lie below every icons/ folder.
const IconLookup::Theme& IconLookup::theme(const QString& name) const
{
    if (const auto known = themes_.constFind(name); known != themes_.cend())
        return *known;
    Theme theme;
    QStringList subfolders;
    for (const QString& icons : iconFolders_) {
        const std::optional<QByteArray> index
            = platform::readSmallFile(icons + u'/' + name + QStringLiteral("/index.theme"), maxIndexSize);
        if (index) {
            const DesktopEntry entry = DesktopEntry::parse(*index, {}, QStringLiteral("Icon Theme"));
            subfolders = commaList(entry.value(QStringLiteral("Directories")));
            theme.inherits = commaList(entry.value(QStringLiteral("Inherits")));
            break;
        }
    }
    for (const QString& icons : iconFolders_)
        if (QFileInfo(icons + u'/' + name).isDir())
            for (const QString& subfolder : subfolders)
                theme.folders.append(icons + u'/' + name + u'/' + subfolder);
    return *themes_.insert(name, theme);
}

// The first theme of the chain (the theme, the themes it inherits, hicolor)
// that holds the icon decides: its smallest bitmap of at least `side`
// pixels, or nothing when it has none.
QImage IconLookup::themeBitmap(const QString& name, int side) const
{
    QStringList chain { theme_ };
    for (qsizetype i = 0; i < chain.size(); ++i) {
        const Theme& theme = this->theme(chain[i]);
        bool held = false;
        QString best;
        int bestSide = INT_MAX;
        for (const QString& folder : theme.folders) {
            for (const char* suffix : { ".png", ".xpm", ".svg" }) {
                const QString file = folder + u'/' + name + QLatin1String(suffix);
                if (!QFileInfo(file).isFile())
                    continue;
                held = true;
                if (qstrcmp(suffix, ".svg") == 0)
                    continue;
                const QSize size = QImageReader(file).size();
                const int fileSide = std::min(size.width(), size.height());
                if (fileSide >= side && fileSide < bestSide) {
                    best = file;
                    bestSide = fileSide;
                }
            }
        }
        if (held) {
            const QImage image(best);
            return image.isNull() ? QImage() : image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        for (const QString& parent : theme.inherits)
            if (!chain.contains(parent))
                chain.append(parent);
        if (i + 1 == chain.size() && !chain.contains(u"hicolor"))
            chain.append(QStringLiteral("hicolor"));
    }
    return {};
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
