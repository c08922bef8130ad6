// The user's start folder following the installed applications in the
// running program: the files, the launcher screen and the gadget editor.
#include "app/FollowedMenus.h"

#include "app/Startup.h"
#include "appmenus/MenuFollower.h"
#include "appmenus/UserFolder.h"
#include "controls/Colorbut.h"
#include "editor/Unit2.h"
#include "launcher/myver.h"
#include "platform/Screen.h"
#include "platform/XdgPaths.h"
#include "session/Session.h"
#include "support/MadeUpApplications.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using testing_support::ScopedEnvironment;
using testing_support::waitUntil;
using testing_support::writeFile;

namespace {

TEST(FollowedMenus, ANewEntryBecomesAGadgetBesideTheUsersOwnAndARemovedOneGoes)
{
    MadeUpApplications tree;
    ScopedEnvironment home("HOME", tree.home().toUtf8());
    ScopedEnvironment dataHome("XDG_DATA_HOME", QByteArray());
    ScopedEnvironment dataDirs("XDG_DATA_DIRS", tree.dataDirs().join(u':').toUtf8());
    ScopedEnvironment desktop("XDG_CURRENT_DESKTOP", MadeUpApplications::desktop().toUtf8());
    ScopedEnvironment locale("LC_ALL", MadeUpApplications::locale().toUtf8());
    ScopedEnvironment searchPath("PATH", (tree.bin() + ":/usr/bin:/bin").toUtf8());
    testing_support::RecordingDialogs boxes;
    platform::setScreenSizeForTesting(QSize(1024, 768));
    resetSession();
    session().StartFolder = tree.root();
    EXPECT_FALSE(followInstalledApplications()) << "only the user's own folder follows";
    resetSession();
    const QString folder = xdg::programDataFolder();
    prepareUserFolder(folder, {});
    testing_support::ScopedCurrentFolder inFolder(folder);
    {
        Windows windows;
        const std::unique_ptr<MenuFollower> follower = followInstalledApplications();
        ASSERT_TRUE(follower);
        auto& launcher = *qobject_cast<TMainForm*>(session().MainForm);
        auto& editor = *qobject_cast<TForm2*>(session().Form2);
        launcher.show();
        // An entry comes while the editor makes a gadget of the user's in the first free place,
        // where the new application would go: the menus wait for its Save/Close.
        session().Menu.EditedGadget = 49;
        editor.showAndRaise();
        editor.Edit1->setText("Mine");
        const QString zebra = tree.dataHome() + "/applications/zebra.desktop";
        writeFile(zebra, "[Desktop Entry]\nType=Application\nName=Zebra\nExec=kavro-recorder\nCategories=Utility;\n");
        ASSERT_TRUE(waitUntil([&] { return follower->waiting(); }, 15000));
        editor.ColorSpeedButton5Click();
        ASSERT_TRUE(waitUntil([&] { return launcher.Gadgets[50]->Caption() == "Zebra"; }, 15000));
        EXPECT_EQ(launcher.Gadgets[49]->Caption(), "Mine");

        QFile::remove(tree.dataDirs()[0] + "/applications/player.desktop");
        EXPECT_TRUE(waitUntil([&] { return launcher.Gadgets[16]->Caption().isEmpty(); }, 15000));
        EXPECT_EQ(launcher.Gadgets[15]->Caption(), "Painter");
        EXPECT_EQ(launcher.Gadgets[49]->Caption(), "Mine");
        for (const auto& box : boxes.boxes)
            ADD_FAILURE() << box.caption.toStdString() << ": " << box.text.toStdString();
    }
    resetSession();
    platform::setScreenSizeForTesting(std::nullopt);
}

} // namespace
