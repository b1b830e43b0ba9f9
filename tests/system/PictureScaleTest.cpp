#include "system/PictureScale.h"

#include <gtest/gtest.h>

// Every enlargement of every small picture: each pixel comes from inside the
// source, in order, every source pixel is used, and the mapping is its own
// mirror image, so that a symmetric arrow stays symmetric.
TEST(PictureScale, EnlargementsAreOrderedCompleteAndMirrorSymmetric) {
    for (int source = 1; source <= 40; ++source) {
        for (int dest = source; dest <= 3 * source; ++dest) {
            int previous = 0;
            for (int i = 0; i < dest; ++i) {
                int from = NearestSourcePixel(i, dest, source);
                ASSERT_GE(from, previous) << source << " to " << dest << " at " << i;
                ASSERT_LE(from, previous + 1) << source << " to " << dest << " at " << i;
                ASSERT_LT(from, source);
                previous = from;
                if (2 * i + 1 != dest) {
                    ASSERT_EQ(from + NearestSourcePixel(dest - 1 - i, dest, source), source - 1)
                        << source << " to " << dest << " at " << i;
                }
            }
            EXPECT_EQ(NearestSourcePixel(0, dest, source), 0);
            EXPECT_EQ(previous, source - 1);
        }
    }
}
