// The event-loop boundary: a handler connected plainly to a signal of one of
// the program's controls, as the windows connect them, lets an error out; it
// is shown once in the standard error box and the program goes on.
#include "controls/AccessibleControls.h"
#include "controls/Calendar.h"
#include "controls/Colorbut.h"
#include "controls/Panel.h"
#include "controls/TikClock.h"
#include "controls/UpDown.h"
#include "desk/Just1_32.h"
#include "desk/KavroAlarm.h"
#include "platform/SingleInstance.h"
#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <future>
#include <gtest/gtest.h>

namespace {

using testing_support::waitUntil;

void failingHandler() { throw rtl::Exception(QStringLiteral("The handler failed")); }

// A `Control` in `window` whose `clicked` has the failing handler, clicked with the mouse.
template <class Control> void clickWithFailingHandler(QWidget& window)
{
    auto* control = new Control(&window);
    control->resize(40, 40);
    QObject::connect(control, &Control::clicked, &failingHandler);
    QTest::mouseClick(control, Qt::LeftButton);
}

TEST(ErrorBoundary, AnErrorLetOutByAHandlerOfAControlsSignalIsShownOnceAndTheProgramGoesOn)
{
    accessibility::installControlInterfaces();
    const testing_support::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(7, 30, 0)));
    struct Case {
        const char* sender;
        // Makes the sender in `window`, connects the failing handler to it
        // and sets it off; returns once the handler has run.
        std::function<void(QWidget& window, const std::function<bool()>& shown)> fire;
    };
    const Case cases[] = {
        { "colour speed button",
            [](QWidget& window, const auto&) { clickWithFailingHandler<TColorSpeedButton>(window); } },
        { "panel", [](QWidget& window, const auto&) { clickWithFailingHandler<TPanel>(window); } },
        { "ticking clock", [](QWidget& window, const auto&) { clickWithFailingHandler<TTickingClock>(window); } },
        { "up-down arrows",
            [](QWidget& window, const auto&) {
                auto* arrows = new TUpDown(&window);
                QObject::connect(arrows, &TUpDown::clicked, &failingHandler);
                QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
                EXPECT_EQ(arrows->Position(), 1); // the step before the handler stays done
            } },
        { "calendar, by a key",
            [](QWidget& window, const auto&) {
                auto* calendar = new TCalendar(&window);
                calendar->resize(193, 108);
                calendar->SetShownDate(QDate(1997, 3, 15));
                QObject::connect(calendar, &TCalendar::OnChange, &failingHandler);
                QTest::keyClick(calendar, Qt::Key_Down);
                EXPECT_EQ(calendar->Day(), 22);
            } },
        { "calendar, by a screen reader's press",
            [](QWidget& window, const auto& shown) {
                auto* calendar = new TCalendar(&window);
                calendar->resize(193, 108);
                calendar->SetShownDate(QDate(1997, 3, 15));
                calendar->show();
                QObject::connect(calendar, &TCalendar::OnChange, &failingHandler);
                QAccessible::queryAccessibleInterface(calendar)->child(19)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
                EXPECT_TRUE(waitUntil(shown));
                EXPECT_EQ(calendar->Day(), 20);
            } },
        { "alarm",
            [](QWidget& window, const auto& shown) {
                auto* alarm = new TKavroAlarm(&window);
                QObject::connect(alarm, &TKavroAlarm::OnAlarm, &failingHandler);
                alarm->setSetHour(7);
                alarm->setSetMin(30);
                alarm->setActive(true);
                EXPECT_TRUE(waitUntil(shown));
            } },
        { "single-instance guard's show request",
            [](QWidget& window, const auto&) {
                QTemporaryDir folder;
                TPreviousInstance only(QStringLiteral("Kavrostart"), folder.path());
                setPreviousInstance(&only);
                auto* guard = new TJustOne32(&window);
                setPreviousInstance(nullptr);
                QObject::connect(guard, &TJustOne32::OnShowRequest, &failingHandler);
                auto sent = std::async(std::launch::async,
                    [&only] { return platform::sendForwardRequest(only.socketPath(), "show launcher", 10000); });
                // Acknowledged only once the request has been carried out.
                EXPECT_TRUE(waitUntil(
                    [&sent] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000));
                EXPECT_TRUE(sent.get());
                delete guard;
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sender);
        testing_support::RecordingDialogs boxes;
        QWidget window;
        window.resize(200, 120);
        window.show();
        c.fire(window, [&boxes] { return !boxes.boxes.empty(); });
        QCoreApplication::processEvents();
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].kind, QStringLiteral("error"));
        EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("The handler failed."));
    }
}

} // namespace
