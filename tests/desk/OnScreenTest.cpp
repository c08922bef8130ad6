// Where a window goes to lie wholly on one screen.
#include "desk/OnScreen.h"

#include <gtest/gtest.h>

TEST(OnScreen, AWindowNotWhollyOnOneScreenGoesWhollyOntoTheNearest)
{
    const QList<QRect> one { QRect(0, 0, 1024, 768) };
    // Left 1024 x 768, right 800 x 600 beside it with its top 100 lower.
    const QList<QRect> two { QRect(0, 0, 1024, 768), QRect(1024, 100, 800, 600) };
    const struct {
        const char* what;
        QRect window;
        QList<QRect> screens;
        QPoint expected;
    } cases[] = {
        { "wholly on the screen", QRect(217, 143, 65, 67), one, QPoint(217, 143) },
        { "in the very corner", QRect(959, 701, 65, 67), one, QPoint(959, 701) },
        { "beyond the right edge", QRect(3000, 100, 65, 67), one, QPoint(959, 100) },
        { "above and left", QRect(-500, -300, 65, 67), one, QPoint(0, 0) },
        { "a sliver showing below", QRect(20, 760, 65, 67), one, QPoint(20, 701) },
        { "larger than the screen", QRect(-10, -10, 1100, 800), one, QPoint(0, 0) },
        { "on the second screen", QRect(1500, 300, 65, 67), two, QPoint(1500, 300) },
        { "across both, mostly left", QRect(990, 300, 65, 67), two, QPoint(959, 300) },
        { "across both, mostly right", QRect(1000, 300, 65, 67), two, QPoint(1024, 300) },
        { "below the second screen", QRect(1300, 740, 65, 67), two, QPoint(1300, 633) },
        { "where the second screen was", QRect(1500, 300, 65, 67), one, QPoint(959, 300) },
        { "no screens at all", QRect(3000, 100, 65, 67), {}, QPoint(3000, 100) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(placeOnScreens(c.window, c.screens), c.expected) << c.what;
}
