// XDG base folders.
#include "platform/XdgPaths.h"

#include "platform/FilePaths.h"

#include <QDir>

namespace xdg {

namespace {

// An absolute folder from the environment, without a trailing separator; empty otherwise.
QString absoluteFromEnvironment(const char* name)
{
    QString value = qEnvironmentVariable(name);
    if (!value.startsWith(u'/'))
        return {};
    return QDir::cleanPath(value);
}

QString folderOrDefault(const char* name, const QString& fallbackBelowHome)
{
    const QString value = absoluteFromEnvironment(name);
    return value.isEmpty() ? homeFolder() + fallbackBelowHome : value;
}

} // namespace

QString homeFolder()
{
    QString home = absoluteFromEnvironment("HOME");
    if (!home.isEmpty())
        return home;
    if (const auto account = platform::accountHomeFolder())
        return QDir::cleanPath(*account);
    return QStringLiteral("/");
}

QString dataHome() { return folderOrDefault("XDG_DATA_HOME", QStringLiteral("/.local/share")); }

QString configHome() { return folderOrDefault("XDG_CONFIG_HOME", QStringLiteral("/.config")); }

QStringList dataDirs()
{
    QStringList folders;
    for (const QString& entry : qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts))
        if (entry.startsWith(u'/') && !folders.contains(QDir::cleanPath(entry)))
            folders.append(QDir::cleanPath(entry));
    if (folders.isEmpty())
        folders = { QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share") };
    return folders;
}

QStringList dataSearchList()
{
    QStringList list = dataDirs();
    list.removeAll(dataHome());
    list.prepend(dataHome());
    return list;
}

QString programDataFolder() { return dataHome() + QStringLiteral("/kavro-start"); }

QString programConfigFolder() { return configHome() + QStringLiteral("/kavro-start"); }

} // namespace xdg
