// The analogue clock: setters, painting and the modes' ticks.
#include "controls/TikClock.h"

#include "desk/ClockFace.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using testing_support::FixedClock;
using testing_support::waitUntil;

namespace {

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// A control-box clock on a shown window, with every pending paint done.
struct ShownClock {
    ShownClock()
    {
        host.resize(100, 80);
        clock = new TTickingClock(&host);
        setUpControlBoxClock(*clock);
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
        QCoreApplication::processEvents();
    }
    QWidget host;
    TTickingClock* clock;
};

QImage faceAsShown() { return controlboxglyphs::clockFace().convertToFormat(QImage::Format_RGB32); }

} // namespace

TEST(TickingClock, FaceSetsThePivotAndHandLengthsAndWithAutoSizeTheSize)
{
    TTickingClock sized;
    sized.setBitmap(controlboxglyphs::clockFace());
    EXPECT_EQ(sized.size(), QSize(64, 51));
    EXPECT_EQ(sized.Centre(), QPoint(32, 25));
    EXPECT_EQ(sized.HourSize(), 16);
    EXPECT_EQ(sized.MinSize(), 24);
    EXPECT_EQ(sized.SecSize(), 25);

    TTickingClock fixed;
    fixed.setAutoSize(false);
    fixed.setGeometry(3, 4, 100, 80);
    fixed.setBitmap(QImage(40, 30, QImage::Format_RGB32));
    EXPECT_EQ(fixed.geometry(), QRect(3, 4, 100, 80));
    EXPECT_EQ(fixed.Centre(), QPoint(20, 15));
    EXPECT_EQ(fixed.HourSize(), 10);
    EXPECT_EQ(fixed.MinSize(), 15);
    EXPECT_EQ(fixed.SecSize(), 16);
}

TEST(TickingClock, ChronometerCarriesOverWithOneRepaintPerTick)
{
    ShownClock shown;
    TTickingClock& clock = *shown.clock;
    clock.setMode(TTickingClockMode::tcmChronoMeter);
    struct Case {
        QTime from, to;
    };
    const Case cases[] = {
        { QTime(10, 59, 58), QTime(10, 59, 59) },
        { QTime(10, 58, 59), QTime(10, 59, 0) },
        { QTime(10, 59, 59), QTime(11, 0, 0) },
        { QTime(23, 59, 59), QTime(0, 0, 0) },
    };
    for (const Case& c : cases) {
        clock.SetTime(c.from.hour(), c.from.minute(), c.from.second());
        PaintCounter paints(&clock);
        clock.Tick();
        EXPECT_EQ(QTime(clock.Hour(), clock.Min(), clock.Sec()), c.to) << c.from.toString().toStdString();
        EXPECT_EQ(paints.count, 1) << c.from.toString().toStdString();
    }
    clock.setMode(TTickingClockMode::tcmIdle);
}

TEST(TickingClock, UnchangedValuesDoNotRepaint)
{
    ShownClock shown;
    TTickingClock& clock = *shown.clock;
    clock.SetTime(7, 8, 9);
    PaintCounter paints(&clock);
    clock.setHour(7);
    clock.setMin(8);
    clock.setSec(9);
    clock.SetTime(7, 8, 9);
    EXPECT_EQ(paints.count, 0);
    clock.setHour(8);
    EXPECT_EQ(paints.count, 1);
}

TEST(TickingClock, ClockModeShowsTheTimeOfDayFromItsOwnWorkerAndTellsEachTick)
{
    FixedClock fixed(QDateTime(QDate(2024, 5, 6), QTime(10, 20, 30, 999)));
    TTickingClock clock;
    std::vector<TTickingClock*> senders;
    QObject::connect(&clock, &TTickingClock::OnTick, [&](TTickingClock* sender) { senders.push_back(sender); });
    clock.setMode(TTickingClockMode::tcmClock);
    ASSERT_TRUE(waitUntil([&] { return !senders.empty(); }));
    EXPECT_EQ(QTime(clock.Hour(), clock.Min(), clock.Sec()), QTime(10, 20, 30));
    EXPECT_EQ(senders.front(), &clock);
    clock.setMode(TTickingClockMode::tcmIdle);
    // Idle keeps the last time shown.
    EXPECT_EQ(clock.Sec(), 30);
}

TEST(TickingClock, ModeKeepsOneWorkerWhileRunningAndNoneWhileIdle)
{
    TTickingClock clock;
    clock.setMode(TTickingClockMode::tcmIdle);
    EXPECT_EQ(clock.Worker(), nullptr);
    clock.setMode(TTickingClockMode::tcmClock);
    const TTickingThread* worker = clock.Worker();
    ASSERT_NE(worker, nullptr);
    clock.setMode(TTickingClockMode::tcmClock);
    EXPECT_EQ(clock.Worker(), worker);
    clock.setMode(TTickingClockMode::tcmChronoMeter);
    EXPECT_EQ(clock.Worker(), worker);
    clock.setMode(TTickingClockMode::tcmIdle);
    EXPECT_EQ(clock.Worker(), nullptr);
}

TEST(TickingClock, PaintsHandsOverTheFaceAndOnlyTheFaceWhenDisabled)
{
    ShownClock shown;
    TTickingClock& clock = *shown.clock;
    clock.SetTime(3, 0, 45);
    const QImage image = clock.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixelColor(44, 25), QColor(Qt::yellow)); // hour hand, towards 3
    EXPECT_EQ(image.pixelColor(32, 10), QColor(Qt::yellow)); // minute hand, towards 12
    EXPECT_EQ(image.pixelColor(15, 25), QColor(Qt::white)); // second hand, towards 9
    EXPECT_EQ(image.pixelColor(47, 23), QColor(Qt::black)); // hour hand outline

    // A disabled window leaves the clock's own setting, and so its hands, alone.
    shown.host.setEnabled(false);
    EXPECT_TRUE(clock.Enabled());
    EXPECT_EQ(clock.grab().toImage().convertToFormat(QImage::Format_RGB32), image);

    shown.host.setEnabled(true);
    clock.setEnabled(false);
    EXPECT_EQ(clock.grab().toImage().convertToFormat(QImage::Format_RGB32), faceAsShown());
}

// The clock keeps its face and slow hands between ticks: after every kind of
// change it must still look exactly like a clock freshly set up that way.
TEST(TickingClock, LooksLikeAFreshClockAfterEveryChange)
{
    using Change = std::function<void(TTickingClock&)>;
    const std::pair<const char*, Change> changes[] = {
        { "second", [](TTickingClock& c) { c.setSec(50); } },
        { "minute", [](TTickingClock& c) { c.SetTime(3, 40, 45); } },
        { "hour", [](TTickingClock& c) { c.setHour(8); } },
        { "hour pen", [](TTickingClock& c) { c.setPenHour(QPen(Qt::red)); } },
        { "minute pen", [](TTickingClock& c) { c.setPenMin(QPen(Qt::green)); } },
        { "second pen", [](TTickingClock& c) { c.setPenSec(QPen(Qt::cyan)); } },
        { "hour brush", [](TTickingClock& c) { c.setBrushHour(QBrush(Qt::magenta)); } },
        { "minute brush", [](TTickingClock& c) { c.setBrushMin(QBrush(Qt::blue)); } },
        { "hand length", [](TTickingClock& c) { c.setMinSize(12); } },
        { "face", [](TTickingClock& c) { c.setBitmap(controlboxglyphs::clockFace().mirrored()); } },
        { "size",
            [](TTickingClock& c) {
                c.setAutoSize(false);
                c.resize(70, 60);
            } },
    };
    ShownClock shown;
    TTickingClock& clock = *shown.clock;
    clock.SetTime(3, 0, 45);
    std::vector<Change> applied { [](TTickingClock& c) { c.SetTime(3, 0, 45); } };
    for (const auto& [name, change] : changes) {
        clock.grab(); // paints, so the change meets whatever the clock kept
        change(clock);
        applied.push_back(change);
        // Set up completely before its first paint.
        TTickingClock fresh;
        setUpControlBoxClock(fresh);
        for (const Change& step : applied)
            step(fresh);
        EXPECT_EQ(clock.grab().toImage(), fresh.grab().toImage()) << name;
    }
}

TEST(ClockFace, IsANavySixteenColourFaceWithYellowNumeralsRoundThePivot)
{
    const QImage face = controlboxglyphs::clockFace();
    EXPECT_EQ(face.size(), QSize(64, 51));
    EXPECT_LE(face.colorCount(), 16);
    const QColor navy(0, 0, 128);
    EXPECT_EQ(face.pixelColor(0, 0), navy);
    EXPECT_EQ(face.pixelColor(63, 50), navy);
    EXPECT_EQ(face.pixelColor(32, 25), navy);
    // Every numeral's place, one per twelfth of the circle, holds yellow.
    for (int numeral = 1; numeral <= 12; ++numeral) {
        const double angle = numeral * M_PI / 6;
        const QPoint place(32 + int(std::lround(23 * std::sin(angle))), 25 - int(std::lround(20 * std::cos(angle))));
        int yellow = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -3; dx <= 3; ++dx)
                yellow += face.pixelColor(place + QPoint(dx, dy)) == QColor(Qt::yellow);
        EXPECT_GE(yellow, 5) << numeral;
    }
}
