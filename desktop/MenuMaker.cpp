// Menus from installed applications.
#include "desktop/MenuMaker.h"

#include "desktop/IconPicture.h"
#include "desktop/LauncherScript.h"
#include "platform/Bitmap.h"
#include "platform/FileIO.h"
#include "platform/Files.h"
#include "rtl/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace menus {

namespace {

constexpr int pictureSide = gadgetPictureSide;
// Far more than any menu page the program or the editor writes.
constexpr qint64 largestPage = qint64(1) << 20;

// A file below the start folder, written when its content changes: a
// symbolic link found in its place is removed first, so nothing is written
// through it to another place. True when it was written.
bool writeInside(const QString& path, const QByteArray& data, platform::FileMode mode)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        QFile::remove(path);
    } else if (info.isFile() && info.size() == data.size()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.readAll() == data)
            return false;
    }
    platform::replaceFileAtomically(path, data, mode);
    return true;
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        rtl::raiseInOut(rtl::ioAccessDenied);
}

// A menu line ends at a CR, and Ctrl-Z ends the data.
void checkFitsOnALine(const QString& text)
{
    if (text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(26)))
        throw rtl::Exception(QStringLiteral("A menu cannot name the folder %1").arg(text));
}

// Makes or follows the menus of `folder` (no recorded pages: a first making).
std::optional<MadeMenus> make(
    const QString& root, QList<Application> applications, const IconLookup* icons, MenuFolder folder)
{
    checkFitsOnALine(root);
    const QString launchers = root + QStringLiteral("/Launchers");
    const QString pictures = root + QStringLiteral("/Pictures");

    // Stems go by name order, so the same applications get the same files;
    // once given, an application keeps its stem.
    std::sort(applications.begin(), applications.end(),
        [](const Application& a, const Application& b) { return listedBefore(a.name, a.id, b.name, b.id); });
    QSet<QString> stems;
    for (const QString& stem : std::as_const(folder.record.stems))
        stems.insert(stem.toLower());
    QList<MenuApplication> shown;
    QHash<QString, QImage> icon;
    for (const Application& app : std::as_const(applications)) {
        QString stem = folder.record.stems.value(app.id);
        if (stem.isEmpty()) {
            const QString base = safeFileName(app.id.endsWith(QLatin1String(".desktop")) ? app.id.chopped(8) : app.id);
            stem = base;
            for (int n = 2; stems.contains(stem.toLower()); ++n)
                stem = base + u'-' + QString::number(n);
            stems.insert(stem.toLower());
            folder.record.stems.insert(app.id, stem);
        }
        MenuApplication entry { app.id, app.name, columnOf(app.categories),
            launchers + u'/' + stem + QStringLiteral(".sh"), {} };
        if (icons) {
            const QImage image = icons->find(app.icon, pictureSide - 2);
            if (!image.isNull()) {
                entry.picture = pictures + u'/' + stem + QStringLiteral(".bmp");
                icon.insert(app.id, image);
            }
        }
        shown.append(entry);
    }

    const MergedMenus merged = MenuMerge(folder).merge(shown);
    if (!merged.followed)
        return std::nullopt;
    for (const QString& made : { folder.configs, launchers, pictures })
        makeFolder(made);
    for (qsizetype a = 0; a < applications.size(); ++a) {
        const Application& app = applications[a];
        writeInside(
            shown[a].launcher, launcherScript(app.command, app.workFolder, app.name + " (" + app.id + ")"), 0755);
    }
    MadeMenus made;
    made.applications = int(applications.size());
    QList<QByteArray> newPictures;
    for (const MenuApplication& app : std::as_const(shown)) {
        if (!app.picture.isEmpty() && merged.faces.contains(app.id)) {
            if (writeInside(app.picture,
                    platform::encodeBitmap24(gadgetPicture(icon[app.id], merged.faces[app.id], pictureSide)), 0644))
                newPictures.append(app.picture.toLocal8Bit());
            ++made.pictures;
        }
    }
    // The main menu goes last, when everything it names is in place. A page
    // counts as changed also when only a picture on it did.
    for (qsizetype p = merged.pages.size() - 1; p >= 0; --p) {
        const QString& file = merged.pages[p].first;
        const QByteArray& text = merged.pages[p].second;
        const bool written = writeInside(file, text, 0644);
        if (written || std::any_of(newPictures.cbegin(), newPictures.cend(), [&](const QByteArray& picture) {
                return text.contains("\r\n" + picture + "\r\n");
            }))
            made.changed.prepend(file);
    }
    for (const QString& page : merged.removed)
        platform::removeFile(page);
    made.changed += merged.removed;
    writeInside(folder.configs + u'/' + MenuRecord::fileName(), merged.record.text(), 0644);
    made.mainMenu = folder.configs + u'/' + merged.record.pages[0].file;
    for (const auto& page : merged.pages)
        made.menus.append(page.first);
    return made;
}

} // namespace

MadeMenus writeMenus(const QString& startFolder, QList<Application> applications, const IconLookup* icons)
{
    const QString root = QDir::cleanPath(QDir(startFolder).absolutePath());
    return *make(root, std::move(applications), icons, { root + QStringLiteral("/ConFigs"), {}, {}, {} });
}

std::optional<MadeMenus> followMenus(
    const QString& startFolder, const QList<Application>& applications, const IconLookup* icons)
{
    const QString root = QDir::cleanPath(QDir(startFolder).absolutePath());
    MenuFolder folder { root + QStringLiteral("/ConFigs"), {}, {}, {} };
    const QFileInfo recordFile(folder.configs + u'/' + MenuRecord::fileName());
    if (!recordFile.isFile() || recordFile.isSymLink() || recordFile.size() > largestPage)
        return std::nullopt;
    const std::optional<MenuRecord> record = MenuRecord::parse(platform::readWholeFile(recordFile.filePath()));
    if (!record)
        return std::nullopt;
    folder.record = *record;
    for (const QString& name :
        QDir(folder.configs).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        folder.names.insert(name.toLower());
    for (const MenuRecord::Page& page : record->pages) {
        const QFileInfo file(folder.configs + u'/' + page.file);
        if (file.isFile() && !file.isSymLink() && file.size() <= largestPage)
            folder.pages.insert(page.file, platform::readWholeFile(file.filePath()));
    }
    return make(root, applications, icons, folder);
}

} // namespace menus
