// Menus that follow the installed applications.
#include "app/FollowedMenus.h"

#include "appmenus/MenuFollower.h"
#include "launcher/myver.h"
#include "platform/FilePaths.h"
#include "platform/XdgPaths.h"
#include "session/Session.h"

#include <QFileInfo>

std::unique_ptr<MenuFollower> followInstalledApplications()
{
    const QString userFolder = QFileInfo(xdg::programDataFolder()).canonicalFilePath();
    if (userFolder.isEmpty() || QFileInfo(session().StartFolder).canonicalFilePath() != userFolder)
        return nullptr;
    auto follower = std::make_unique<MenuFollower>(session().StartFolder, CatalogSettings::fromEnvironment());
    follower->holdWhileVisible(session().Form2);
    QObject::connect(follower.get(), &MenuFollower::menusFollowed, [](const QStringList& files) {
        auto* launcher = qobject_cast<TMainForm*>(session().MainForm);
        CurrentMenu& current = session().Menu;
        if (!launcher || !files.contains(current.MenuFileName))
            return;
        // A further page that is no longer needed leads back to the main menu.
        current.LoadMenu(platform::fileExistsIgnoringCase(current.MenuFileName)
                ? current.MenuFileName
                : platform::dataPath(session().StartFolder, QStringLiteral("\\ConFigs\\Main.ini")));
        launcher->ApplyMenu();
    });
    return follower;
}
