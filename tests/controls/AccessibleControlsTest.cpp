// What screen readers learn of the custom-painted controls and what their
// actions do: button names, the Press action and the calendar's days.
#include "controls/AccessibleControls.h"

#include "controls/Calendar.h"
#include "controls/Colorbut.h"

#include <QAccessible>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The interfaces are installed before any control exists: the toolkit keeps
// the interface it first made for a control.
class AccessibleControls : public ::testing::Test {
protected:
    void SetUp() override { accessibility::installControlInterfaces(); }
};

QAccessibleInterface& interfaceOf(QObject& control)
{
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(&control);
    EXPECT_NE(found, nullptr);
    return *found;
}

void press(QAccessibleInterface& item) { item.actionInterface()->doAction(QAccessibleActionInterface::pressAction()); }

} // namespace

TEST_F(AccessibleControls, AButtonIsNamedByItsCaptionElseItsHintAndABlankOneIsEmpty)
{
    const struct {
        const char* given;
        const char* caption;
        const char* hint;
        bool picture;
        const char* name;
    } cases[] = {
        { "", "&Today", "Jump to Today's date", false, "Today" },
        { "", "R&&D &", "", false, "R&D" },
        { "", "  ", "Main Screen", true, "Main Screen" },
        { "", "", "", false, "empty" },
        { "", "", "", true, "" }, // a picture alone says nothing a screen reader can read
        { "Month back", "", "", true, "Month back" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(accessibility::buttonName(
                      QString::fromUtf8(c.given), QString::fromUtf8(c.caption), QString::fromUtf8(c.hint), c.picture),
            QString::fromUtf8(c.name))
            << c.caption;
    }
}

TEST_F(AccessibleControls, PressClicksAnEnabledSpeedButtonOnceTheEventLoopRunsAndToggles)
{
    QWidget window;
    auto* plain = new TColorSpeedButton(&window);
    auto* grouped = new TColorSpeedButton(&window);
    grouped->setGroupIndex(1);
    grouped->setAllowAllUp(true);
    plain->setCaption(QStringLiteral("&Go"));
    window.show();
    QSignalSpy plainClicks(plain, &TColorSpeedButton::clicked);
    QSignalSpy groupedClicks(grouped, &TColorSpeedButton::clicked);

    QAccessibleInterface& button = interfaceOf(*plain);
    EXPECT_EQ(button.role(), QAccessible::Button);
    EXPECT_EQ(button.text(QAccessible::Name), QStringLiteral("Go"));
    press(button);
    EXPECT_EQ(plainClicks.count(), 0) << "the caller returns before the click runs";
    QTRY_COMPARE(plainClicks.count(), 1);

    press(interfaceOf(*grouped));
    QTRY_COMPARE(groupedClicks.count(), 1);
    EXPECT_TRUE(grouped->Down());
    EXPECT_TRUE(interfaceOf(*grouped).state().checked);

    plain->setEnabled(false);
    press(button);
    QCoreApplication::processEvents();
    EXPECT_EQ(plainClicks.count(), 1) << "a disabled button takes no press";
}

TEST_F(AccessibleControls, TheCalendarHasACellForEachDayNamedByItsDateThatPressShows)
{
    QWidget window;
    auto* calendar = new TCalendar(&window);
    calendar->resize(193, 108);
    calendar->SetShownDate(QDate(1997, 3, 15));
    window.show();
    QSignalSpy changes(calendar, &TCalendar::OnChange);

    QAccessibleInterface& table = interfaceOf(*calendar);
    ASSERT_EQ(table.childCount(), 31);
    for (int i = 0; i < table.childCount(); ++i) {
        QAccessibleInterface* day = table.child(i);
        EXPECT_EQ(day->text(QAccessible::Name), QLocale().toString(QDate(1997, 3, i + 1), QLocale::LongFormat));
        EXPECT_EQ(table.childAt(day->rect().center().x(), day->rect().center().y()), day) << "day " << i + 1;
        EXPECT_EQ(table.indexOfChild(day), i);
        EXPECT_EQ(day->state().selected, i + 1 == 15);
    }

    press(*table.child(19));
    QTRY_COMPARE(calendar->Day(), 20);
    EXPECT_EQ(changes.count(), 1);
    calendar->MonthBack();
    EXPECT_EQ(table.childCount(), 28);
    EXPECT_EQ(table.child(19)->text(QAccessible::Name), QLocale().toString(QDate(1997, 2, 20), QLocale::LongFormat));
}
