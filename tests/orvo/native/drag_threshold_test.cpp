#include "orvo/core/drag_threshold.h"

#include <gtest/gtest.h>

namespace {

using Orvo::DragThreshold::IsPast;

TEST(DragThresholdTest, APressBecomesADragOnlyPastTheSlackOnEitherSide) {
    struct Case {
        int x;
        int y;
        bool past;
    };
    // A press at (100, 50) with the usual slack of 4 x 4 pixels.
    const Case cases[] = {
        {100, 50, false}, {104, 50, false}, {96, 54, false}, {104, 46, false}, {105, 50, true},
        {95, 50, true},   {100, 55, true},  {100, 45, true}, {200, 200, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.past, IsPast(100, 50, c.x, c.y, 4, 4)) << c.x << "," << c.y;
    }
    // A negative slack counts by its size; no slack makes every move a drag.
    EXPECT_FALSE(IsPast(0, 0, 3, -3, -4, -4));
    EXPECT_TRUE(IsPast(0, 0, 1, 0, 0, 0));
    EXPECT_FALSE(IsPast(0, 0, 0, 0, 0, 0));
}

}  // namespace
