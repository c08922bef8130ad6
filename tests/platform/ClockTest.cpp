// The local time seam.
#include "platform/Clock.h"

#include "support/TestSupport.h"

#include <ctime>
#include <gtest/gtest.h>

using testing_support::ScopedEnvironment;

TEST(Clock, TimeOfDayIsTheLocalTimeThatNowHolds)
{
    // Zones on both sides of Greenwich and one off the whole hour, so that a
    // time of day taken in another zone, or from the wrong clock, cannot pass.
    for (const char* zone : { "UTC0", "EAST-5:30", "WEST+8" }) {
        {
            ScopedEnvironment tz("TZ", zone);
            tzset();
            const int before = platform::now().time().msecsSinceStartOfDay();
            const int taken = platform::timeOfDay().msecsSinceStartOfDay();
            const int after = platform::now().time().msecsSinceStartOfDay();
            if (after >= before) { // not across midnight
                EXPECT_GE(taken, before) << zone;
                EXPECT_LE(taken, after) << zone;
            }
        }
        tzset();
    }
}
