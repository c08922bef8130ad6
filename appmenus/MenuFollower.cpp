// The menus following the installed applications.
#include "appmenus/MenuFollower.h"

#include "appmenus/IconPicture.h"
#include "appmenus/MenuMaker.h"
#include "platform/Guard.h"

#include <QDir>
#include <QDirIterator>
#include <QEvent>
#include <QFileInfo>
#include <QWidget>
#include <algorithm>

MenuFollower::MenuFollower(const QString& startFolder, const CatalogSettings& settings, QObject* parent)
    : QObject(parent)
    , startFolder_(startFolder)
    , settings_(settings)
{
    burst_.setSingleShot(true);
    connect(&burst_, &QTimer::timeout, this, &MenuFollower::follow);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &MenuFollower::folderChanged);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &MenuFollower::changed);
    watch();
    changed(); // for what changed while the program did not run
}

void MenuFollower::holdWhileVisible(QWidget* window)
{
    if (hold_)
        hold_->removeEventFilter(this);
    hold_ = window;
    if (hold_)
        hold_->installEventFilter(this);
}

QStringList MenuFollower::watched() const { return watcher_.directories() + watcher_.files(); }

bool MenuFollower::eventFilter(QObject* object, QEvent* event)
{
    if (object == hold_ && event->type() == QEvent::Hide && waiting_)
        burst_.start(0);
    return false;
}

void MenuFollower::folderChanged(const QString& folder)
{
    if (!aboveMissing_.contains(folder)) {
        changed();
        return;
    }
    // Above a missing applications folder only the coming of a folder on its way counts.
    QSet<QString> folders;
    QSet<QString> above;
    locate(folders, above);
    if ((folders != applicationFolders_ || above != aboveMissing_) && watch())
        changed();
}

void MenuFollower::locate(QSet<QString>& folders, QSet<QString>& above) const
{
    for (const QString& data : std::as_const(settings_.dataFolders)) {
        QString folder = QDir::cleanPath(data + QStringLiteral("/applications"));
        if (QFileInfo(folder).isDir()) {
            folders.insert(folder);
            continue;
        }
        do
            folder = QFileInfo(folder).path();
        while (!QFileInfo(folder).isDir() && folder != QFileInfo(folder).path());
        above.insert(folder);
    }
    above -= folders;
}

void MenuFollower::changed()
{
    if (!burst_.isActive())
        burstAge_.start();
    burst_.start(int(std::clamp<qint64>(longestMs - burstAge_.elapsed(), 0, quietMs)));
}

void MenuFollower::follow()
{
    waiting_ = hold_ && hold_->isVisible();
    if (waiting_)
        return;
    platform::guarded([this] {
        // Watched first, so that nothing written while the menus are made goes unseen.
        watch();
        const IconLookup icons(settings_.dataFolders);
        const std::optional<appmenus::MadeMenus> made
            = appmenus::followMenus(startFolder_, installedApplications(settings_), &icons);
        if (made && !made->changed.isEmpty())
            emit menusFollowed(made->changed);
    });
}

bool MenuFollower::watch()
{
    QSet<QString> folders;
    QSet<QString> above;
    locate(folders, above);
    QSet<QString> wanted = above;
    for (const QString& applications : std::as_const(folders)) {
        // The folders and entries the catalogue reads.
        wanted.insert(applications);
        QDirIterator subfolders(
            applications, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDirIterator::Subdirectories);
        while (subfolders.hasNext())
            wanted.insert(subfolders.next());
        QDirIterator entries(applications, { QStringLiteral("*.desktop") }, QDir::Files, QDirIterator::Subdirectories);
        while (entries.hasNext())
            wanted.insert(entries.next());
    }
    const QStringList now = watched();
    const QSet<QString> watching(now.cbegin(), now.cend());
    if (const QSet<QString> gone = watching - wanted; !gone.isEmpty())
        watcher_.removePaths(gone.values());
    if (const QSet<QString> come = wanted - watching; !come.isEmpty())
        watcher_.addPaths(come.values());
    aboveMissing_ = above;
    const bool came = folders != applicationFolders_;
    applicationFolders_ = folders;
    return came;
}
