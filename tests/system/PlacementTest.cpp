#include "system/Placement.h"

#include <gtest/gtest.h>

TEST(Placement, CentresOverTheReference) {
    // A 200 wide window over a 400 wide reference at 100.
    EXPECT_EQ(CentredOrigin(100, 500, 200, 1280), 200);
    // An odd difference halves toward zero: (301 - 200) / 2 = 50.
    EXPECT_EQ(CentredOrigin(0, 301, 200, 1280), 50);
    // A window one wider than its reference: -1 / 2 is 0, not -1.
    EXPECT_EQ(CentredOrigin(100, 199, 100, 1280), 100);
    // Over the whole screen.
    EXPECT_EQ(CentredOrigin(0, 1024, 500, 1024), 262);
}

TEST(Placement, ANegativeOriginBecomesZero) {
    // A window larger than a reference near the screen's start.
    EXPECT_EQ(CentredOrigin(0, 100, 400, 1280), 0);
    EXPECT_EQ(CentredOrigin(-300, -100, 100, 1280), 0);
}

TEST(Placement, AnOriginPastTheScreenEndMovesBackOntoIt) {
    EXPECT_EQ(CentredOrigin(1500, 1900, 200, 1280), 1080);
    // Exactly at the end is left alone: only beyond it counts.
    EXPECT_EQ(CentredOrigin(1180, 1580, 200, 1280), 1280);
    // A window wider than the screen ends at 0, not negative.
    EXPECT_EQ(CentredOrigin(2000, 4000, 1500, 1280), 0);
}
