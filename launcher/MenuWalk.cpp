// Walk over the reachable menus.
#include "launcher/MenuWalk.h"

#include "platform/FileIO.h"
#include "platform/FilePaths.h"
#include "session/Menu.h"

#include <QFileInfo>
#include <QSet>
#include <deque>
#include <exception>
#include <optional>

namespace finding {

namespace {

// The file a "Menu" gadget's path leads to, as its click would find it; none when there is none.
std::optional<QString> menuFile(const QString& path)
{
    if (!platform::fileExistsIgnoringCase(path))
        return std::nullopt;
    QString file = QFileInfo(platform::resolvePath(path)).canonicalFilePath();
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

} // namespace

std::vector<ReachableMenu> reachableMenus(const QString& startMenu, int limit)
{
    std::vector<ReachableMenu> menus;
    QSet<QString> seen;
    std::deque<std::pair<QString, QString>> waiting; // file and the caption that leads there
    if (const auto start = menuFile(startMenu)) {
        seen.insert(*start);
        waiting.emplace_back(*start, QString());
    }
    while (!waiting.empty() && int(menus.size()) < limit) {
        auto [file, via] = std::move(waiting.front());
        waiting.pop_front();
        QList<QByteArray> lines;
        try {
            lines = platform::readTextLines(file, menufile::LineCount);
        } catch (const std::exception&) {
            continue; // unreadable: not offered, and nobody told
        }
        ReachableMenu reached { file, via, {} };
        reached.captions.reserve(menufile::GadgetCount);
        for (int n = 1; n <= menufile::GadgetCount; ++n) {
            const auto line = [&](int field) { return lines[menufile::gadgetLine(n, field) - 1]; };
            const QString caption = QString::fromLocal8Bit(line(menufile::GadgetName));
            reached.captions.append(caption);
            if (line(menufile::StartMode) != "Menu")
                continue;
            const auto next = menuFile(QString::fromLocal8Bit(line(menufile::FilesPath)));
            if (next && !seen.contains(*next)) {
                seen.insert(*next);
                waiting.emplace_back(*next, caption);
            }
        }
        menus.push_back(std::move(reached));
    }
    return menus;
}

} // namespace finding
