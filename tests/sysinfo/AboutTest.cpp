// The about panel: its figures, its place and the windows it keeps disabled while it shows.
#include "sysinfo/About.h"

#include "app/Startup.h"
#include "controls/Panel.h"
#include "controls/TikClock.h"
#include "desk/Blanker.h"
#include "desk/MyAlarm1.h"
#include "desk/Scrollpas.h"
#include "editor/Unit2.h"
#include "launcher/myver.h"
#include "planner/Planner.h"
#include "platform/FilePaths.h"
#include "platform/Screen.h"
#include "platform/SystemFacts.h"
#include "rtl/TextFile.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <optional>

using testing_support::RecordingDialogs;

namespace {

TEST(AboutFormatting, MemoryIsShownInWholeKilobytesWithThousandsSeparators)
{
    struct Case {
        quint64 bytes;
        const char* text;
    };
    const Case cases[] = {
        { Q_UINT64_C(16220160), "15,840 KB" }, { Q_UINT64_C(67108864), "65,536 KB" },
        { Q_UINT64_C(1024000), "1,000 KB" }, { Q_UINT64_C(1023999), "1,000 KB" }, // 999.999 rounds up
        { Q_UINT64_C(1048064), "1,024 KB" }, // 1023.5 rounds up
        { Q_UINT64_C(1047552), "1,023 KB" }, { Q_UINT64_C(512), "1 KB" },
        { Q_UINT64_C(511), " KB" }, // "#,###" shows no digit for zero
        { Q_UINT64_C(6442450944), "6,291,456 KB" }, // beyond 32 bits
        { Q_UINT64_C(1099511627776), "1,073,741,824 KB" }, // a terabyte
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatKilobytes(c.bytes), QString::fromLatin1(c.text)) << c.bytes;
    EXPECT_EQ(formatMemoryLoad(63), QStringLiteral("63 %"));
    EXPECT_EQ(formatMemoryLoad(100), QStringLiteral("100 %"));
}

class FixedFacts final : public platform::SystemFacts {
public:
    FixedFacts() { platform::setSystemFactsForTesting(this); }
    ~FixedFacts() override { platform::setSystemFactsForTesting(nullptr); }

    platform::MemoryStatus memory() const override { return status; }
    std::optional<platform::VersionInfo> version() const override { return std::nullopt; }
    std::optional<QString> loginName(int) const override { return QStringLiteral("ann"); }
    platform::ProcessorInfo processor() const override { return {}; }
    std::optional<platform::OwnerInfo> ownerInfo(const QString&) const override { return owner; }

    platform::MemoryStatus status { Q_UINT64_C(16220160), Q_UINT64_C(6000000), 0, 0, 63 };
    platform::OwnerInfo owner { QStringLiteral("Ann Example"), QStringLiteral("Example Ltd"), QString() };
};

// The whole program's windows in a start folder of their own, on a 1024 x 768 screen.
class AboutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        testing_support::writeFile(
            folder.filePath(QStringLiteral("ConFigs/Main.ini")), rtl::joinCrLf(testing_support::sampleMenuLines()));
        inFolder.emplace(folder.path());
        platform::setProgramFilePathForTesting(folder.filePath(QStringLiteral("KavroStart")));
        platform::setScreenSizeForTesting(QSize(1024, 768));
        windows = std::make_unique<Windows>();
        about = qobject_cast<TForm4*>(session().Form4);
    }
    void TearDown() override
    {
        windows.reset();
        inFolder.reset();
        platform::setProgramFilePathForTesting(std::nullopt);
        platform::setScreenSizeForTesting(std::nullopt);
        resetSession();
    }

    QList<QWidget*> blocked() const
    {
        const Session& s = session();
        return { s.Form1, s.MainForm, s.MainFormer, s.Form3, s.Form2 };
    }
    bool allEnabled() const
    {
        for (QWidget* window : blocked())
            if (!window->isEnabled())
                return false;
        return true;
    }
    bool noneEnabled() const
    {
        for (QWidget* window : blocked())
            if (window->isEnabled())
                return false;
        return true;
    }
    void showAbout()
    {
        about->showAndRaise();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    }

    RecordingDialogs boxes;
    FixedFacts facts;
    QTemporaryDir folder;
    std::optional<testing_support::ScopedCurrentFolder> inFolder;
    std::unique_ptr<Windows> windows;
    TForm4* about = nullptr;
};

TEST_F(AboutTest, IsAFramelessStayOnTopPanelCentredOnTheScreen)
{
    EXPECT_FALSE(about->isVisible());
    about->ensureControls();
    EXPECT_EQ(about->size(), QSize(345, 281));
    EXPECT_EQ(about->pos(), QPoint(339, 243));
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(about->Panel1->geometry(), QRect(0, 0, 345, 281));
    EXPECT_TRUE(about->Panel1->BorderSingle());
}

TEST_F(AboutTest, EveryItemStandsAtItsPlace)
{
    about->ensureControls();
    struct Item {
        QWidget* widget;
        QRect place; // client coordinates of the panel; an empty size is not checked
    };
    const Item items[] = {
        { about->ProgramIcon, QRect(40, 38, 32, 32) },
        { about->ProductName, QRect(88, 32, 0, 0) },
        { about->Version, QRect(88, 48, 0, 0) },
        { about->OwnerLabel, QRect(88, 162, 0, 0) },
        { about->OrganizationLabel, QRect(88, 180, 0, 0) },
        { about->Bevel1, QRect(88, 199, 233, 2) },
        { about->MemoryCaption, QRect(88, 208, 0, 0) },
        { about->MemoryValue, QRect(256, 208, 0, 0) },
        { about->LoadCaption, QRect(88, 225, 0, 0) },
        { about->LoadValue, QRect(256, 225, 0, 0) },
        { about->OKButton, QRect(264, 248, 75, 25) },
    };
    const int border = about->Panel1->borderWidth();
    for (const Item& item : items) {
        EXPECT_EQ(item.widget->parentWidget(), about->Panel1);
        const QRect geometry = item.widget->geometry().translated(-border, -border);
        EXPECT_EQ(geometry.topLeft(), item.place.topLeft()) << qPrintable(item.widget->objectName());
        if (!item.place.size().isEmpty()) {
            EXPECT_EQ(geometry.size(), item.place.size());
        }
        EXPECT_LE(item.widget->geometry().right(), about->Panel1->width() - border - 1);
    }
    EXPECT_EQ(about->ProductName->text(), QStringLiteral("Kavro Start"));
    EXPECT_EQ(about->Version->text(), QStringLiteral("Windows 95"));
    EXPECT_EQ(about->MemoryCaption->text(), QStringLiteral("Physical Memory Available"));
    EXPECT_EQ(about->LoadCaption->text(), QStringLiteral("Memory In Use"));
    EXPECT_EQ(about->OKButton->text(), QStringLiteral("OK"));
}

// The panel builds its labels when it first shows, with the figures read at program start.
TEST_F(AboutTest, ShowsTheOwnerTheOrganisationAndTheFiguresOfProgramStart)
{
    EXPECT_FALSE(about->controlsCreated());
    facts.status = { Q_UINT64_C(67108864), 0, 0, 0, 99 };
    for (int showing = 1; showing <= 2; ++showing) {
        showAbout();
        EXPECT_EQ(about->OwnerLabel->text(), QStringLiteral("Ann Example"));
        EXPECT_EQ(about->OrganizationLabel->text(), QStringLiteral("Example Ltd"));
        EXPECT_EQ(about->MemoryValue->text(), QStringLiteral("15,840 KB"));
        EXPECT_EQ(about->LoadValue->text(), QStringLiteral("63 %"));
        about->close();
    }
}

// The names are the system's as they stand, never markup: each label is as
// wide as its text's every character.
TEST_F(AboutTest, ShowsTheOwnerAndTheOrganisationAsPlainText)
{
    facts.owner = { QStringLiteral("<b>Ann</b>"), QStringLiteral("<i>Example</i> &amp; Co"), QString() };
    TForm4 panel;
    panel.ensureControls();
    for (const QLabel* label : { panel.OwnerLabel, panel.OrganizationLabel })
        EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString();
}

TEST_F(AboutTest, KeepsTheFiveWindowsDisabledUntilItClosesByAnyWay)
{
    ASSERT_TRUE(allEnabled());
    showAbout();
    EXPECT_TRUE(noneEnabled());
    EXPECT_TRUE(about->isEnabled());
    EXPECT_TRUE(session().Alarm1->isEnabled());
    about->OKButton->click();
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(allEnabled());

    // Closed by the window manager.
    showAbout();
    EXPECT_TRUE(noneEnabled());
    about->close();
    EXPECT_TRUE(allEnabled());

    // Hidden directly.
    showAbout();
    EXPECT_TRUE(noneEnabled());
    about->hide();
    EXPECT_TRUE(allEnabled());

    // Enter on the focused OK button.
    showAbout();
    about->activateWindow();
    about->OKButton->setFocus();
    QTest::keyClick(about->OKButton, Qt::Key_Return);
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(allEnabled());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(AboutTest, ClicksOnTheControlBoxDoNothingWhileItShows)
{
    auto* box = qobject_cast<TForm1*>(session().Form1);
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    box->A1->trigger();
    ASSERT_TRUE(about->isVisible());
    QTest::mouseClick(box->TickingClock1, Qt::LeftButton);
    EXPECT_FALSE(box->Unfolded());
    about->OKButton->click();
    QTest::mouseClick(box->TickingClock1, Qt::LeftButton);
    EXPECT_TRUE(box->Unfolded());
}

} // namespace
