// A made-up XDG data tree of about forty desktop entries, with icons, a
// recorder program that writes down how it was started, and the answers a
// menu made from it should give.
#pragma once

#include "support/TestSupport.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class MadeUpApplications final {
public:
    MadeUpApplications();

    QString root() const { return dir_.path(); }
    QString home() const { return root() + "/home"; }
    QString dataHome() const { return home() + "/.local/share"; }
    QStringList dataDirs() const { return { root() + "/sys1", root() + "/sys2" }; }
    QString bin() const { return root() + "/bin"; }
    QString workFolder() const { return root() + "/work folder"; }
    // The desktop the tree is read on, and the message locale.
    static QString desktop() { return QStringLiteral("XFCE"); }
    static QString locale() { return QStringLiteral("de_DE.UTF-8"); }

    // The names a menu shows, in no particular order.
    static QStringList visibleNames();

    // How a launcher started the recorder: the folder, the program's name and its arguments.
    struct Run {
        QString folder;
        QString program;
        QStringList arguments;
    };
    // Runs `launcher` as the launcher screen would (in its own folder) with
    // the tree's bin folder on the search path.
    Run runLauncher(const QString& launcher) const;
    // Reads what the recorder wrote to `record`.
    static Run readRecord(const QString& record);
    QString recordFile() const { return root() + "/record"; }

    // The colour of the icon of the application named `name`; invalid for none.
    static QColor iconColour(const QString& name);

private:
    void entry(const QString& folder, const QString& file, const QByteArray& body) const;

    QTemporaryDir dir_;
};

// The environment of a desktop session on `tree` (its home, data folders,
// desktop, locale and search path), set for the object's lifetime.
class MadeUpSession final {
public:
    explicit MadeUpSession(const MadeUpApplications& tree);

private:
    testing_support::ScopedEnvironment home_;
    testing_support::ScopedEnvironment dataHome_;
    testing_support::ScopedEnvironment dataDirs_;
    testing_support::ScopedEnvironment desktop_;
    testing_support::ScopedEnvironment locale_;
    testing_support::ScopedEnvironment searchPath_;
};
