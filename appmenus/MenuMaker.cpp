// Menus from installed applications.
#include "appmenus/MenuMaker.h"

#include "appmenus/IconPicture.h"
#include "appmenus/LauncherScript.h"
#include "platform/Bitmap.h"
#include "platform/FileIO.h"
#include "platform/FilePaths.h"
#include "rtl/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace appmenus {

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

// A plain file, not a link, no larger than the program's pages and record.
bool isPlainPageFile(const QFileInfo& file) { return file.isFile() && !file.isSymLink() && file.size() <= largestPage; }

// A menu line ends at a CR, and Ctrl-Z ends the data.
void checkFitsOnALine(const QString& text)
{
    if (text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(26)))
        throw rtl::Exception(QStringLiteral("A menu cannot name the folder %1").arg(text));
}

// The stem of an application's launcher and picture files: the one it was
// given before, for good, else its id made safe and numbered past the stems
// `taken` (in lower case), given now.
QString stemOf(const Application& app, MenuRecord& record, QSet<QString>& taken)
{
    QString stem = record.stems.value(app.id);
    if (!stem.isEmpty())
        return stem;
    const QString base = safeFileName(app.id.endsWith(QLatin1String(".desktop")) ? app.id.chopped(8) : app.id);
    stem = base;
    for (int n = 2; taken.contains(stem.toLower()); ++n)
        stem = base + u'-' + QString::number(n);
    taken.insert(stem.toLower());
    record.stems.insert(app.id, stem);
    return stem;
}

// The applications as their gadgets show them, in the same order, and the
// icon found for each gadget that has a picture, by application id.
struct ShownApplications {
    QList<MenuApplication> gadgets;
    QHash<QString, QImage> icons;
};

// Each application's gadget: its column, its launcher below `root`, and a
// picture beside it where `icons` finds its icon. Applications new to
// `record` are given their stems there.
ShownApplications showApplications(
    const QList<Application>& applications, MenuRecord& record, const QString& root, const IconLookup* icons)
{
    QSet<QString> taken;
    for (const QString& stem : std::as_const(record.stems))
        taken.insert(stem.toLower());
    ShownApplications shown;
    for (const Application& app : applications) {
        const QString stem = stemOf(app, record, taken);
        MenuApplication gadget { app.id, app.name, columnOf(app.categories),
            root + QStringLiteral("/Launchers/") + stem + QStringLiteral(".sh"), {} };
        const QImage image = icons ? icons->find(app.icon, pictureSide - 2) : QImage();
        if (!image.isNull()) {
            gadget.picture = root + QStringLiteral("/Pictures/") + stem + QStringLiteral(".bmp");
            shown.icons.insert(app.id, image);
        }
        shown.gadgets.append(gadget);
    }
    return shown;
}

void writeLaunchers(const QList<Application>& applications, const QList<MenuApplication>& gadgets)
{
    for (qsizetype a = 0; a < applications.size(); ++a) {
        const Application& app = applications[a];
        writeInside(
            gadgets[a].launcher, launcherScript(app.command, app.workFolder, app.name + " (" + app.id + ")"), 0755);
    }
}

struct WrittenPictures {
    int count = 0;
    QList<QByteArray> renewed; // each picture whose file changed, as a menu line names it
};

// The picture of each gadget that has one and that the program made, on the
// face the merge gave that gadget.
WrittenPictures writePictures(const ShownApplications& shown, const QHash<QString, QColor>& faces)
{
    WrittenPictures written;
    for (const MenuApplication& app : shown.gadgets) {
        if (app.picture.isEmpty() || !faces.contains(app.id))
            continue;
        const QImage picture = gadgetPicture(shown.icons[app.id], faces[app.id], pictureSide);
        if (writeInside(app.picture, platform::encodeBitmap24(picture), 0644))
            written.renewed.append(app.picture.toLocal8Bit());
        ++written.count;
    }
    return written;
}

bool namesAnyOf(const QByteArray& page, const QList<QByteArray>& pictures)
{
    return std::any_of(pictures.cbegin(), pictures.cend(),
        [&page](const QByteArray& picture) { return page.contains("\r\n" + picture + "\r\n"); });
}

// Writes the pages, the main menu last, when everything it names is in
// place; returns those that changed, the main menu first. A page counts as
// changed also when only a picture on it did.
QStringList writePages(const QList<QPair<QString, QByteArray>>& pages, const QList<QByteArray>& renewedPictures)
{
    QStringList changed;
    for (qsizetype p = pages.size() - 1; p >= 0; --p) {
        const auto& [file, text] = pages[p];
        if (writeInside(file, text, 0644) || namesAnyOf(text, renewedPictures))
            changed.prepend(file);
    }
    return changed;
}

// Makes or follows the menus of `folder` (no recorded pages: a first making).
std::optional<MadeMenus> make(
    const QString& root, QList<Application> applications, const IconLookup* icons, MenuFolder folder)
{
    checkFitsOnALine(root);
    // Stems go by name order, so the same applications get the same files.
    std::sort(applications.begin(), applications.end(),
        [](const Application& a, const Application& b) { return listedBefore(a.name, a.id, b.name, b.id); });
    const ShownApplications shown = showApplications(applications, folder.record, root, icons);
    const MergedMenus merged = MenuMerge(folder).merge(shown.gadgets);
    if (!merged.followed)
        return std::nullopt;

    for (const QString& made :
        { folder.configs, root + QStringLiteral("/Launchers"), root + QStringLiteral("/Pictures") })
        makeFolder(made);
    writeLaunchers(applications, shown.gadgets);
    const WrittenPictures pictures = writePictures(shown, merged.faces);
    MadeMenus made;
    made.applications = int(applications.size());
    made.pictures = pictures.count;
    made.changed = writePages(merged.pages, pictures.renewed);
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
    if (!isPlainPageFile(recordFile))
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
        if (isPlainPageFile(file))
            folder.pages.insert(page.file, platform::readWholeFile(file.filePath()));
    }
    return make(root, applications, icons, folder);
}

} // namespace appmenus
