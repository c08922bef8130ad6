// Start-up: the windows in their order, the start folder and the screen check.
#include "app/Startup.h"

#include "controls/Colorbut.h"
#include "desk/KavroAlarm.h"
#include "desk/MyAlarm1.h"
#include "desk/Scrollpas.h"
#include "editor/Unit2.h"
#include "launcher/myver.h"
#include "platform/Screen.h"
#include "rtl/TextFile.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using testing_support::RecordingDialogs;
using testing_support::sampleMenuLines;
using testing_support::writeFile;

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeFile(dir_.filePath("ConFigs/Main.ini"), rtl::joinCrLf(sampleMenuLines()));
        inDir_.emplace(dir_.path());
        resetSession();
    }
    void TearDown() override
    {
        platform::setScreenSizeForTesting(std::nullopt);
        inDir_.reset();
        resetSession();
    }

    QTemporaryDir dir_;
    std::optional<testing_support::ScopedCurrentFolder> inDir_;
    RecordingDialogs dialogs_;
};

TEST_F(Startup, RecordsTheStartFolderBeforeTheLauncherReadsItsMenu)
{
    platform::setScreenSizeForTesting(QSize(800, 600));
    Windows windows;
    EXPECT_EQ(session().StartFolder, dir_.path());
    EXPECT_EQ(session().Menu.MenuFileName, dir_.filePath("ConFigs/Main.ini"));
    EXPECT_TRUE(dialogs_.boxes.empty()) << "800 x 600 is enough";
    for (QWidget* window : std::initializer_list<QWidget*> { session().Form1, session().MainForm, session().Form2 })
        EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(session().Form1->width(), TForm1::FoldedWidth);
    EXPECT_EQ(session().Form1->height(), 67);
}

TEST_F(Startup, ASmallScreenIsReported)
{
    platform::setScreenSizeForTesting(QSize(1024, 480));
    Windows windows;
    ASSERT_FALSE(dialogs_.boxes.empty());
    EXPECT_EQ(dialogs_.boxes[0].caption, "Kavro Start");
    EXPECT_EQ(dialogs_.boxes[0].text, "Kavro Start needs Screen Mode to be 800x600.");
}

TEST_F(Startup, TheSessionKnowsTheSevenWindowsInTheirOrderUntilTheyGo)
{
    platform::setScreenSizeForTesting(QSize(800, 600));
    const auto names = [] {
        QStringList seen;
        for (const QWidget* window : programWindows())
            seen.append(window ? window->objectName() : QStringLiteral("-"));
        return seen;
    };
    {
        Windows windows;
        EXPECT_EQ(names().join(u' '), "Form1 MainForm Form2 MainFormer Alarm1 Form3 Form4");
    }
    EXPECT_EQ(names().join(u' '), "- - - - - - -");
}

// The two hand-offs that need more than a window: the alarm dialog sets the
// control box's alarm, the editor's Save/Close shows the saved menu on the launcher.
TEST_F(Startup, TheAlarmDialogAndTheEditorReachWhatTheyChange)
{
    platform::setScreenSizeForTesting(QSize(800, 600));
    Windows windows;
    auto& alarm = *qobject_cast<TAlarm1*>(session().Alarm1);
    const TKavroAlarm& controlBoxAlarm = *qobject_cast<TForm1*>(session().Form1)->KavroAlarm1;
    alarm.showAndRaise();
    alarm.Edit2->setText(QStringLiteral("7"));
    alarm.UpDown1Click();
    alarm.Button1Click();
    EXPECT_EQ(controlBoxAlarm.SetHour(), 7);
    EXPECT_TRUE(controlBoxAlarm.Active());

    auto& editor = *qobject_cast<TForm2*>(session().Form2);
    session().Menu.EditedGadget = 5;
    editor.showAndRaise();
    editor.Edit1->setText(QStringLiteral("Renamed"));
    editor.ColorSpeedButton5Click();
    EXPECT_EQ(qobject_cast<TMainForm*>(session().MainForm)->Gadgets[5]->Caption(), "Renamed");
    EXPECT_FALSE(editor.isVisible());
}

} // namespace
