// The hint status bar: its clock text, panel widths and timer.
#include "controls/psiStatusBar.h"

#include "rtl/Errors.h"
#include "support/TestSupport.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QDateTime afternoon(QDate(1997, 3, 11), QTime(14, 45, 30));
const QDateTime morning(QDate(1997, 3, 11), QTime(10, 5, 9));

TEST(psiClockText, ShowsDateTwoBlanksHoursMinutesAndTheLowerCaseMarker)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    struct Case {
        QDateTime at;
        QString dateFormat;
        QString timeFormat;
        QString expected;
    };
    const Case cases[] = {
        { afternoon, "M/d/yy", "h:mm:ss AP", "3/11/97  2:45 pm" },
        { morning, "M/d/yy", "h:mm:ss AP", "3/11/97  10:05 am" },
        // A time zone field is dropped before the rule applies.
        { afternoon, "M/d/yy", "h:mm:ss AP t", "3/11/97  2:45 pm" },
        // A 24-hour format without a marker: hours and minutes alone.
        { afternoon, "dd.MM.yy", "HH:mm:ss", "11.03.97  14:45" },
        { morning, "dd.MM.yy", "HH:mm:ss t", "11.03.97  10:05" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(psi::clockText(c.at, us, c.dateFormat, c.timeFormat).toStdString(), c.expected.toStdString());
    EXPECT_EQ(psi::clockText(afternoon, us).toStdString(), "3/11/97  2:45 pm");
}

TEST(psiClockText, AMarkerOnlyFollowsWhenTheFormatEndsWithIt)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const struct {
        QString timeFormat;
        QString expected;
    } cases[] = {
        { "AP h:mm:ss", "3/11/97  PM 2:45" },
        { "t APh:mm:ss", "3/11/97  PM2:45" },
        { "APh:mm:ss [t]", "3/11/97  PM2:45" },
        { "h:mm:ss AP, t", "3/11/97  2:45 pm" },
        { "HH:mm:ss (t)", "3/11/97  14:45" },
        { "HH:mm:ss, t", "3/11/97  14:45" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(psi::clockText(afternoon, us, "M/d/yy", c.timeFormat).toStdString(), c.expected.toStdString())
            << c.timeFormat.toStdString();
}

TEST(psiClockText, NoLocaleShowsBracketsSecondsOrATrailingSeparator)
{
    const auto all = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(all.size(), 100);
    for (const QLocale& locale : all) {
        for (const QDateTime& at : { morning, afternoon }) {
            const QString text = psi::clockText(at, locale);
            const QString seconds = locale.toString(at.time(), QStringLiteral("ss"));
            const QString time = text.mid(locale.toString(at.date(), locale.dateFormat(QLocale::ShortFormat)).size());
            const auto fault = [&] {
                for (const QChar c : { u'(', u')', u'[', u']', u'\uFF08', u'\uFF09' })
                    if (time.contains(c))
                        return "a bracket";
                if (time.contains(seconds))
                    return "the seconds";
                if (time.isEmpty() || time.back().isSpace() || QStringLiteral(":,;-/\u060C").contains(time.back()))
                    return "a trailing separator";
                return "";
            }();
            EXPECT_STREQ(fault, "") << locale.name().toStdString() << ": " << text.toStdString();
        }
    }
}

TEST(psiClockText, ATimeWithoutTwoColonsFallsBackToTheShortTimeFormat)
{
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    EXPECT_EQ(psi::clockText(afternoon, finnish).toStdString(), "11.3.1997  14.45");
}

TEST(psiStatusBar, TheMessagePanelTakesTheFormWidthLessTheClockPanel)
{
    EXPECT_EQ(psi::messagePanelWidth(100), 0);
    EXPECT_EQ(psi::messagePanelWidth(126), 0);
    EXPECT_EQ(psi::messagePanelWidth(127), 1);
    EXPECT_EQ(psi::messagePanelWidth(608), 482);

    const std::vector<QRect> rects = psi::panelRects(QSize(250, 19), { 194, 126 });
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], QRect(0, 2, 192, 17));
    EXPECT_EQ(rects[1], QRect(194, 2, 56, 17));
}

TEST(psiStatusBar, ResizingTellsOnResizeThenSetsTheMessagePanelFromTheForm)
{
    QWidget form;
    form.resize(300, 100);
    TpsiStatusBar bar(&form);
    bar.setPanelWidth(0, 194);
    int widthSeenByHandler = -1;
    bar.setOnResize([&](TpsiStatusBar* sender) {
        EXPECT_EQ(sender, &bar);
        widthSeenByHandler = sender->panelWidth(0);
    });
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(bar.geometry(), QRect(0, 81, 300, 19));
    form.resize(400, 120);
    // The form's outer width counts, its frame included.
    const int outer = form.frameGeometry().width();
    ASSERT_GE(outer, 400);
    testing_support::waitUntil([&] { return bar.panelWidth(0) == outer - 126; }, 1000);
    EXPECT_EQ(bar.panelWidth(0), outer - 126);
    EXPECT_EQ(widthSeenByHandler, outer - 100 - 126);
    EXPECT_EQ(bar.geometry(), QRect(0, 101, 400, 19));
    EXPECT_EQ(bar.panelWidth(1), 126);
}

TEST(psiStatusBar, EachTickShowsTheClockRepeatsTheExplanationAsHintAndTellsOnTimer)
{
    testing_support::FixedClock clock(afternoon);
    TpsiStatusBar bar;
    EXPECT_EQ(bar.panelText(1).toStdString(), "3/11/97  2:45 pm");
    clock.set(morning);
    bar.setPanelText(0, QStringLiteral("Explained."));
    int ticks = 0;
    bar.setOnTimer([&](TpsiStatusBar*) { ++ticks; });
    bar.TimerTick();
    EXPECT_EQ(bar.panelText(1).toStdString(), "3/11/97  10:05 am");
    EXPECT_EQ(bar.Hint(), QStringLiteral("Explained."));
    EXPECT_EQ(ticks, 1);
}

// Hidden and unobserved, the bar does not tick; it is up to date the moment it shows.
TEST(psiStatusBar, RestsWhileHiddenUnlessOnTimerListens)
{
    testing_support::FixedClock clock(afternoon);
    QWidget form;
    form.resize(300, 100);
    TpsiStatusBar bar(&form);
    EXPECT_FALSE(bar.TimerRunning());
    clock.set(morning);
    bar.setPanelText(0, QStringLiteral("Explained."));
    form.show();
    EXPECT_EQ(bar.panelText(1).toStdString(), "3/11/97  10:05 am");
    EXPECT_EQ(bar.Hint(), QStringLiteral("Explained."));
    EXPECT_TRUE(bar.TimerRunning());
    form.hide();
    EXPECT_FALSE(bar.TimerRunning());
    bar.setOnTimer([](TpsiStatusBar*) {});
    EXPECT_TRUE(bar.TimerRunning());
    bar.setOnTimer({});
    EXPECT_FALSE(bar.TimerRunning());
}

TEST(psiStatusBar, AssigningOnTimerRestartsTheOneSecondCycle)
{
    TpsiStatusBar bar;
    bar.show();
    const QTimer* timer = bar.findChild<QTimer*>();
    ASSERT_TRUE(timer);
    // Well into a cycle, however long the wait takes on a busy machine.
    ASSERT_TRUE(testing_support::waitUntil([timer] { return timer->remainingTime() < 700; }));
    bar.setOnTimer([](TpsiStatusBar*) {});
    EXPECT_GT(timer->remainingTime(), 900);
    EXPECT_EQ(timer->interval(), 1000);
}

TEST(psiStatusBar, AnErrorInTheTimersWorkIsShownAndTheTimerGoesOn)
{
    testing_support::RecordingDialogs boxes;
    TpsiStatusBar bar;
    bar.hide();
    bar.setOnTimer([](TpsiStatusBar*) { throw rtl::Exception(QStringLiteral("Tick failed")); });
    ASSERT_TRUE(testing_support::waitUntil([&] { return boxes.boxes.size() >= 2; }, 3500));
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Tick failed."));
    EXPECT_TRUE(bar.TimerRunning());
}

} // namespace
