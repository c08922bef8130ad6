// Where the analogue clock's hands lie.
#include "controls/ClockHands.h"

#include <gtest/gtest.h>

TEST(ClockGeometry, HandPointsFollowTheAnglesAndLengths)
{
    const QPoint centre(32, 25);
    const HandLengths box { 19, 24, 25 };
    struct Case {
        int hour, minute, second;
        QPolygon hourHand, minuteHand;
        QPoint secondEnd;
    };
    const Case cases[] = {
        // Hour hand at 3 o'clock, minute hand at 12, second hand at 12 ends on the face's top row.
        { 3, 0, 0, QPolygon({ { 32, 25 }, { 47, 23 }, { 51, 25 }, { 47, 27 }, { 32, 25 } }),
            QPolygon({ { 32, 25 }, { 29, 6 }, { 32, 1 }, { 35, 6 }, { 32, 25 } }), { 32, 0 } },
        // The hour hand moves with the minutes: half past six is 105 degrees round.
        { 6, 30, 45, QPolygon({ { 32, 25 }, { 30, 40 }, { 27, 43 }, { 26, 39 }, { 32, 25 } }),
            QPolygon({ { 32, 25 }, { 35, 44 }, { 32, 49 }, { 29, 44 }, { 32, 25 } }), { 7, 25 } },
        // Hours 12 to 23 draw like 0 to 11; seconds do not move the hour hand.
        { 18, 30, 15, QPolygon({ { 32, 25 }, { 30, 40 }, { 27, 43 }, { 26, 39 }, { 32, 25 } }),
            QPolygon({ { 32, 25 }, { 35, 44 }, { 32, 49 }, { 29, 44 }, { 32, 25 } }), { 57, 25 } },
        { 10, 10, 40, QPolygon({ { 32, 25 }, { 18, 18 }, { 16, 14 }, { 21, 14 }, { 32, 25 } }),
            QPolygon({ { 32, 25 }, { 47, 13 }, { 53, 13 }, { 50, 19 }, { 32, 25 } }), { 10, 38 } },
    };
    for (const Case& c : cases) {
        const ClockHands hands = clockHands(centre, c.hour, c.minute, c.second, box);
        EXPECT_EQ(hands.hour, c.hourHand) << c.hour << ":" << c.minute;
        EXPECT_EQ(hands.minute, c.minuteHand) << c.hour << ":" << c.minute;
        EXPECT_EQ(hands.secondEnd, c.secondEnd) << c.second;
    }
}

TEST(ClockGeometry, PointsRoundHalvesToEven)
{
    EXPECT_EQ(clockPoint({ 10, 10 }, 0, 2.5L), QPoint(12, 10));
    EXPECT_EQ(clockPoint({ 10, 10 }, 0, 3.5L), QPoint(14, 10));
    EXPECT_EQ(clockPoint({ 10, 10 }, 0, -2.5L), QPoint(8, 10));
}
