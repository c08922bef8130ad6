// Keeps the menus made from the applications current while the program runs:
// the applications folders and their desktop entries are watched through
// the kernel (QFileSystemWatcher), a burst of changes is gathered for a
// moment, and then the menus follow once (appmenus::followMenus). Nothing runs
// while nothing changes.
#pragma once

#include "appmenus/ApplicationCatalog.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

class QWidget;

class MenuFollower final : public QObject {
    Q_OBJECT
public:
    // A burst ends once it has been quiet this long, and at the latest this
    // long after its first change.
    static constexpr int quietMs = 400;
    static constexpr int longestMs = 1500;

    // Watches the applications/ folders of `settings.dataFolders` (for one
    // that does not exist yet, the nearest folder above it, until it comes)
    // for the menus of `startFolder`; the menus follow once soon after, for
    // what changed while the program did not run.
    MenuFollower(const QString& startFolder, const CatalogSettings& settings, QObject* parent = nullptr);

    // While `window` shows, the menus wait; they follow when it hides.
    void holdWhileVisible(QWidget* window);

    // What is watched: folders and desktop entries.
    QStringList watched() const;
    // True while a change waits for the window to hide.
    bool waiting() const { return waiting_; }

signals:
    // The menus followed a change; `files` are the menu files written anew or removed.
    void menusFollowed(const QStringList& files);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void folderChanged(const QString& folder);
    void changed();
    void follow();
    // The applications folders that exist, and the nearest folders above those that do not.
    void locate(QSet<QString>& folders, QSet<QString>& above) const;
    // Brings the watches up to the folders as they are; true when an applications folder came or went.
    bool watch();

    QString startFolder_;
    CatalogSettings settings_;
    QFileSystemWatcher watcher_;
    QTimer burst_;
    QElapsedTimer burstAge_;
    QPointer<QWidget> hold_;
    bool waiting_ = false;
    QSet<QString> applicationFolders_; // the applications/ folders that exist
    QSet<QString> aboveMissing_; // the nearest folders above those that do not
};
