// The made menus following changes of the applications folders.
#include "appmenus/MenuFollower.h"

#include "appmenus/MenuMaker.h"
#include "support/MadeUpApplications.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

using testing_support::readFile;
using testing_support::waitUntil;
using testing_support::writeFile;

namespace {

class MenuFollowing : public ::testing::Test {
protected:
    void SetUp() override { appmenus::writeMenus(folder, installedApplications(settings), nullptr); }

    bool shows(const QByteArray& name) const
    {
        return readFile(folder + "/ConFigs/Main.ini").contains("\r\n" + name + "\r\n");
    }
    static QByteArray entry(const QByteArray& name)
    {
        return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=kavro-recorder\n";
    }

    MadeUpApplications tree;
    QString folder = tree.root() + "/start";
    // The last data folder does not exist yet.
    CatalogSettings settings { QStringList { tree.dataHome() } + tree.dataDirs()
            + QStringList { tree.root() + "/later/share" },
        MadeUpApplications::locale(), { MadeUpApplications::desktop() }, { tree.bin() } };
};

TEST_F(MenuFollowing, ABurstOfChangesIsFollowedOnceAlsoInAFolderThatCameLater)
{
    MenuFollower follower(folder, settings);
    EXPECT_TRUE(follower.watched().contains(tree.root())) << "above the missing folder";
    QSignalSpy follows(&follower, &MenuFollower::menusFollowed);
    for (const char* name : { "Burst 1", "Burst 2", "Burst 3" })
        writeFile(tree.dataHome() + "/applications/" + name + ".desktop", entry(name));
    QFile::remove(tree.dataDirs()[0] + "/applications/player.desktop");
    ASSERT_TRUE(waitUntil([&] { return shows("Burst 3"); }, 15000));
    EXPECT_TRUE(shows("Burst 1") && shows("Burst 2") && !shows("Player"));
    EXPECT_EQ(follows.size(), 1);
    EXPECT_TRUE(follows[0][0].toStringList().contains(folder + "/ConFigs/Main.ini"));

    writeFile(tree.root() + "/later/share/applications/later.desktop", entry("Later"));
    EXPECT_TRUE(waitUntil([&] { return shows("Later"); }, 15000));
}

TEST_F(MenuFollowing, ChangesWaitWhileTheHeldWindowShows)
{
    MenuFollower follower(folder, settings);
    QWidget editor;
    follower.holdWhileVisible(&editor);
    editor.show();
    writeFile(tree.dataHome() + "/applications/held.desktop", entry("Held"));
    ASSERT_TRUE(waitUntil([&] { return follower.waiting(); }, 15000));
    EXPECT_FALSE(shows("Held"));
    editor.hide();
    EXPECT_TRUE(waitUntil([&] { return shows("Held"); }, 15000));
}

} // namespace
