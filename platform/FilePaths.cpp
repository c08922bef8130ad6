// Files and folders on Linux.
#include "platform/FilePaths.h"

#include "rtl/AsciiCase.h"
#include "rtl/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool existsExactly(const QString& path)
{
    struct stat st { };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

QString joined(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QString findIgnoringCase(const QString& folder, const QString& name)
{
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries
        = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}

} // namespace

QString resolvePath(const QString& path)
{
    if (path.isEmpty() || existsExactly(path))
        return path;
    const QStringList parts = path.split(u'/');
    QString result = path.startsWith(u'/') ? QStringLiteral("/") : QString();
    bool lost = false; // once a component matches nothing, the rest is kept as given
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        QString chosen = part;
        if (!lost && part != u"." && part != u".." && !existsExactly(joined(result, part))) {
            const QString match = findIgnoringCase(result, part);
            if (match.isEmpty())
                lost = true;
            else
                chosen = match;
        }
        result = joined(result, chosen);
    }
    if (path.endsWith(u'/') && !result.endsWith(u'/'))
        result += u'/';
    return result;
}

QString findIgnoringAsciiCase(const QString& folder, const QString& name)
{
    QString exact = joined(folder, name);
    if (existsExactly(exact))
        return exact;
    const QByteArray wanted = QFile::encodeName(name);
    DIR* dir = ::opendir(QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
    if (!dir)
        return exact;
    std::optional<QByteArray> best;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView found(entry->d_name);
        if (found.size() == wanted.size() && found.compare(wanted, Qt::CaseSensitive) != 0
            && rtl::asciiCaseEqual(found, wanted) && (!best || found.compare(*best, Qt::CaseSensitive) < 0))
            best = found.toByteArray();
    }
    ::closedir(dir);
    return best ? joined(folder, QFile::decodeName(*best)) : exact;
}

QString dataPath(const QString& startFolder, const QString& suffix)
{
    QString tail = suffix;
    tail.replace(u'\\', u'/');
    QString head = startFolder;
    if (head.endsWith(u'/') && tail.startsWith(u'/'))
        head.chop(1);
    return resolvePath(head + tail);
}

bool fileExistsIgnoringCase(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat st { };
    return ::stat(QFile::encodeName(resolvePath(path)).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isPathTaken(const QString& path)
{
    struct stat st { };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool isExecutableFile(const QString& path)
{
    return QFileInfo(path).isFile() && ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

void removeFile(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        rtl::raiseInOutFromErrno(errno);
}

QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}

bool isWritableFolder(const QString& path)
{
    struct stat st { };
    const QByteArray native = QFile::encodeName(path);
    return !path.isEmpty() && ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && ::access(native.constData(), W_OK | X_OK) == 0;
}

void makePrivateFolderIfMissing(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return;
    if (!QDir().mkpath(info.absolutePath()))
        rtl::raiseInOut(rtl::ioAccessDenied);
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0) {
        const int err = errno;
        if (err == EEXIST && QFileInfo(path).isDir())
            return; // made meanwhile by someone else
        rtl::raiseInOutFromErrno(err == EEXIST ? ENOTDIR : err);
    }
}

QString currentFolder() { return QDir::currentPath(); }

std::optional<QString> accountHomeFolder()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return QString::fromLocal8Bit(entry->pw_dir);
    return std::nullopt;
}

void setCurrentFolder(const QString& folder)
{
    const QString target = resolvePath(folder);
    if (::chdir(QFile::encodeName(target.isEmpty() ? QStringLiteral(".") : target).constData()) != 0)
        rtl::raiseInOutFromErrno(errno);
}

static std::optional<QString> programFileOverride;

QString programFilePath()
{
    return programFileOverride ? *programFileOverride : QCoreApplication::applicationFilePath();
}

void setProgramFilePathForTesting(std::optional<QString> path) { programFileOverride = std::move(path); }

} // namespace platform
