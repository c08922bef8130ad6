// Gadgets from dropped files and addresses.
#include "appmenus/DroppedGadget.h"

#include "appmenus/IconPicture.h"
#include "appmenus/LauncherScript.h"
#include "platform/Bitmap.h"
#include "platform/FilePaths.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace {

// What a drop runs, and the icons to show for it, best first.
struct Dropped {
    Application app;
    QStringList icons;
};

Application opening(const QString& target, const QString& name)
{
    Application app;
    app.id = name;
    app.name = name;
    app.command = { QStringLiteral("xdg-open"), target };
    return app;
}

QStringList typeIcons(const QMimeType& type) { return { type.iconName(), type.genericIconName() }; }

std::optional<Dropped> droppedThing(const QUrl& url, const CatalogSettings& settings)
{
    if (!url.isLocalFile()) {
        if (!url.isValid() || url.scheme().isEmpty())
            return std::nullopt;
        const QString name = !url.fileName().isEmpty() ? url.fileName()
            : !url.host().isEmpty()                    ? url.host()
                                                       : url.toString();
        return Dropped { opening(url.toString(), name), { QStringLiteral("text-html") } };
    }
    const QFileInfo file(url.toLocalFile());
    const QString path = file.absoluteFilePath();
    const QString name = file.fileName().isEmpty() ? path : file.fileName();
    if (!file.exists())
        return std::nullopt;
    if (file.isDir())
        return Dropped { opening(path, name), { QStringLiteral("folder"), QStringLiteral("inode-directory") } };
    if (file.suffix() == u"desktop") {
        std::optional<Application> app = applicationFromFile(path, settings);
        if (!app)
            return std::nullopt;
        return Dropped { *app, { app->icon } };
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    if (!platform::isExecutableFile(path))
        return Dropped { opening(path, name), typeIcons(type) };
    Application program;
    program.id = name;
    program.name = name;
    program.command = { path };
    program.workFolder = file.absolutePath();
    return Dropped { program, typeIcons(type) << QStringLiteral("application-x-executable") };
}

// A place the file can take: nothing stands there yet, or the same content does.
bool canTake(const GadgetFile& file)
{
    const QFileInfo there(file.path);
    if (!there.exists() && !there.isSymLink())
        return true;
    return !there.isSymLink() && platform::readSmallFile(file.path, file.content.size()) == file.content;
}

} // namespace

std::optional<GadgetFill> droppedGadget(
    const QUrl& url, const QString& startFolder, QColor face, const CatalogSettings& settings)
{
    const std::optional<Dropped> dropped = droppedThing(url, settings);
    if (!dropped)
        return std::nullopt;
    const Application& app = dropped->app;
    GadgetFill fill;
    fill.caption = app.name;
    const QByteArray script = launcherScript(app.command, app.workFolder, app.name + " (" + app.id + ")");
    QImage icon;
    {
        const IconLookup icons(settings.dataFolders);
        for (const QString& name : dropped->icons)
            if (icon.isNull())
                icon = icons.find(name, gadgetPictureSide - 2);
    }
    QByteArray picture;
    if (!icon.isNull()) {
        fill.image = gadgetPicture(icon, face, gadgetPictureSide);
        picture = platform::encodeBitmap24(fill.image);
    }
    const QString launchers = platform::dataPath(startFolder, QStringLiteral("\\Launchers"));
    const QString pictures = platform::dataPath(startFolder, QStringLiteral("\\Pictures"));
    // The menu maker's names, so that a dropped entry's launcher can be the one it made.
    const QString base = safeFileName(app.id.endsWith(QLatin1String(".desktop")) ? app.id.chopped(8) : app.id);
    for (int n = 1;; ++n) {
        const QString stem = n == 1 ? base : base + u'-' + QString::number(n);
        const GadgetFile launcher { launchers + u'/' + stem + QStringLiteral(".sh"), script, 0755 };
        const GadgetFile pictureFile { pictures + u'/' + stem + QStringLiteral(".bmp"), picture, 0644 };
        if (canTake(launcher) && (picture.isEmpty() || canTake(pictureFile))) {
            fill.launcher = launcher;
            if (!picture.isEmpty())
                fill.picture = pictureFile;
            return fill;
        }
    }
}
