// Position memory.
#include "desk/position.h"

#include "platform/FilePaths.h"
#include "platform/InstallLayout.h"
#include "platform/ProfileFile.h"
#include "platform/Screen.h"
#include "platform/WindowSystem.h"
#include "platform/XdgPaths.h"

#include <QDir>
#include <QStandardPaths>
#include <QWidget>

namespace {

const QString section = QStringLiteral("Values");

} // namespace

// The default name does not pass through the setter's checks.
TPosition::TPosition(QWidget* owner)
    : QObject(owner)
    , owner_(owner)
    , iniFileName_(owner->objectName() + QStringLiteral(".ini"))
{
}

void TPosition::setIniFileDirectory(TIniFileDirectory directory) { iniFileDirectory_ = directory; }

void TPosition::setIniFileName(const QString& name)
{
    const QString extension = name.mid(name.lastIndexOf(u'.') < 0 ? name.size() : name.lastIndexOf(u'.'));
    if (name == iniFileName_ || extension != u".ini" || name.size() > 12)
        return;
    iniFileName_ = name.toLower();
}

void TPosition::setSaveDimension(bool save) { saveDimension_ = save; }

void TPosition::setSavePosition(bool save) { savePosition_ = save; }

QString TPosition::iniFilePath() const
{
    QString folder;
    if (iniFileDirectory_ == TIniFileDirectory::ProgramDir) {
        folder = platform::folderOf(platform::programFilePath());
        // An installed program's folder is not the user's to write in, even where root could.
        if (!platform::keepsFilesBesideProgram(folder))
            folder = xdg::programConfigFolder();
    } else {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }
    return platform::resolvePath(folder.endsWith(u'/') ? folder + iniFileName_ : folder + u'/' + iniFileName_);
}

void TPosition::Restore()
{
    const platform::ProfileFile file(iniFilePath());
    if (saveDimension_) {
        const int width = file.readInteger(section, QStringLiteral("Width"), owner_->width());
        const int height = file.readInteger(section, QStringLiteral("Height"), owner_->height());
        owner_->resize(width, height);
    }
    if (savePosition_) {
        // Centred by the size just restored; integer division truncates towards zero.
        const QSize screen = platform::primaryScreenSize();
        const int left = file.readInteger(section, QStringLiteral("Left"), (screen.width() - owner_->width()) / 2);
        const int top = file.readInteger(section, QStringLiteral("Top"), (screen.height() - owner_->height()) / 2);
        owner_->move(left, top);
    }
}

void TPosition::SaveToIni()
{
    const QString path = iniFilePath();
    // The configuration folder may not exist yet; when it cannot be made, the write below says so.
    QDir().mkpath(platform::folderOf(path));
    platform::ProfileFile file(path);
    if (saveDimension_) {
        file.writeInteger(section, QStringLiteral("Width"), owner_->width());
        file.writeInteger(section, QStringLiteral("Height"), owner_->height());
    }
    // A window system that does not tell where the window is would have its
    // made-up place written over the saved one.
    if (savePosition_ && platform::windowsPlaceable()) {
        file.writeInteger(section, QStringLiteral("Left"), owner_->x());
        file.writeInteger(section, QStringLiteral("Top"), owner_->y());
    }
}
