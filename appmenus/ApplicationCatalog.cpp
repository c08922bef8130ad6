// Installed applications.
#include "appmenus/ApplicationCatalog.h"

#include "appmenus/DesktopEntry.h"
#include "platform/FileIO.h"
#include "platform/FilePaths.h"
#include "platform/XdgPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <optional>

namespace {

bool programFound(const QString& program, const QStringList& searchPath)
{
    if (program.contains(u'/'))
        return platform::isExecutableFile(program);
    return std::any_of(searchPath.cbegin(), searchPath.cend(),
        [&](const QString& folder) { return platform::isExecutableFile(folder + u'/' + program); });
}

bool shownOnDesktop(const DesktopEntry& entry, const QStringList& desktops)
{
    const auto current = [&](const QString& name) { return desktops.contains(name, Qt::CaseInsensitive); };
    const QStringList only = entry.list(QStringLiteral("OnlyShowIn"));
    if (entry.contains(QStringLiteral("OnlyShowIn")) && std::none_of(only.cbegin(), only.cend(), current))
        return false;
    const QStringList not_ = entry.list(QStringLiteral("NotShowIn"));
    return std::none_of(not_.cbegin(), not_.cend(), current);
}

// Entries are small; anything larger is no entry of ours.
constexpr qsizetype maxEntrySize = qsizetype(1) << 20;

bool shownInMenu(const DesktopEntry& entry, const QStringList& desktops)
{
    return !entry.boolean(QStringLiteral("NoDisplay")) && !entry.boolean(QStringLiteral("Hidden"))
        && shownOnDesktop(entry, desktops);
}

// The application an entry describes, whether or not a menu shows it; none
// when it is no application or its program is not there.
std::optional<Application> applicationOf(
    const QString& id, const QString& file, const DesktopEntry& entry, const QStringList& searchPath)
{
    if (!entry.isValid() || entry.value(QStringLiteral("Type")) != u"Application")
        return std::nullopt;
    const QString tryExec = entry.value(QStringLiteral("TryExec"));
    if (!tryExec.isEmpty() && !programFound(tryExec, searchPath))
        return std::nullopt;
    const std::optional<QStringList> command = entry.command(file);
    const QString name = entry.localeValue(QStringLiteral("Name"));
    if (!command || command->isEmpty() || name.trimmed().isEmpty() || !programFound(command->first(), searchPath))
        return std::nullopt;
    Application app;
    app.id = id;
    app.name = name.simplified();
    app.command = entry.boolean(QStringLiteral("Terminal")) ? inTerminal(*command) : *command;
    app.workFolder = entry.value(QStringLiteral("Path"));
    app.icon = entry.localeValue(QStringLiteral("Icon"));
    app.categories = entry.list(QStringLiteral("Categories"));
    return app;
}

} // namespace

CatalogSettings CatalogSettings::fromEnvironment()
{
    CatalogSettings settings;
    settings.dataFolders = xdg::dataSearchList();
    settings.locale = messageLocale();
    settings.desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    settings.searchPath = qEnvironmentVariable("PATH").split(u':', Qt::SkipEmptyParts);
    return settings;
}

QList<Application> installedApplications(const CatalogSettings& settings)
{
    QSet<QString> seen;
    QList<Application> applications;
    for (const QString& folder : settings.dataFolders) {
        const QDir root(folder + QStringLiteral("/applications"));
        if (!root.exists())
            continue;
        QStringList files;
        QDirIterator it(root.path(), { QStringLiteral("*.desktop") }, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        files.sort(); // the same id from two files of one folder: the first in name order wins
        for (const QString& file : files) {
            // The id is the path below applications/ with "/" turned into "-".
            const QString id = root.relativeFilePath(file).replace(u'/', u'-');
            if (seen.contains(id))
                continue;
            // An unreadable file hides nothing; a readable hidden one does.
            const std::optional<QByteArray> data = platform::readSmallFile(file, maxEntrySize);
            if (!data)
                continue;
            seen.insert(id);
            const DesktopEntry entry = DesktopEntry::parse(*data, settings.locale);
            if (!shownInMenu(entry, settings.desktops))
                continue;
            if (std::optional<Application> app = applicationOf(id, file, entry, settings.searchPath))
                applications.append(std::move(*app));
        }
    }
    return applications;
}

std::optional<Application> applicationFromFile(const QString& file, const CatalogSettings& settings)
{
    const std::optional<QByteArray> data = platform::readSmallFile(file, maxEntrySize);
    if (!data)
        return std::nullopt;
    const DesktopEntry entry = DesktopEntry::parse(*data, settings.locale);
    const QFileInfo info(file);
    const QString address = entry.value(QStringLiteral("URL"));
    const QString name = entry.localeValue(QStringLiteral("Name")).simplified();
    if (entry.value(QStringLiteral("Type")) != u"Link" || address.isEmpty() || name.isEmpty())
        return applicationOf(info.fileName(), info.absoluteFilePath(), entry, settings.searchPath);
    Application link;
    link.id = info.fileName();
    link.name = name;
    link.command = { QStringLiteral("xdg-open"), address };
    link.icon = entry.localeValue(QStringLiteral("Icon"));
    return link;
}

QStringList inTerminal(const QStringList& command)
{
    return QStringList { QStringLiteral("x-terminal-emulator"), QStringLiteral("-e") } + command;
}
