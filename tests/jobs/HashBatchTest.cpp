#include "jobs/HashBatch.h"

#include <gtest/gtest.h>

TEST(HashBatch, SettingValuesOutsideTheListBehaveAsItsEnds) {
    EXPECT_EQ(BatchStopRuleOf(0), StopAfterEveryFile);
    EXPECT_EQ(BatchStopRuleOf(1), StopAfterMatchingFile);
    EXPECT_EQ(BatchStopRuleOf(2), NeverStop);
    EXPECT_EQ(BatchStopRuleOf(3), NeverStop);
    EXPECT_EQ(BatchStopRuleOf(2147483647), NeverStop);
    // Below 0 as 1: a negative value still stops after a matching file.
    EXPECT_EQ(BatchStopRuleOf(-1), StopAfterMatchingFile);
    EXPECT_EQ(BatchStopRuleOf(-2147483647 - 1), StopAfterMatchingFile);
}

TEST(HashBatch, TheLastFileOfABatchNeverStops) {
    for (BatchStopRule rule : {StopAfterEveryFile, StopAfterMatchingFile, NeverStop}) {
        for (bool field2 : {false, true}) {
            EXPECT_FALSE(StopsAfterFile(rule, field2, 3, 3, true));
            // A file that arrived while a count was reset is still not waited for.
            EXPECT_FALSE(StopsAfterFile(rule, field2, 4, 3, true));
        }
    }
}

TEST(HashBatch, EachRuleStopsWhereItSays) {
    // Stop after every file: either field, match or not.
    EXPECT_TRUE(StopsAfterFile(StopAfterEveryFile, false, 1, 3, false));
    EXPECT_TRUE(StopsAfterFile(StopAfterEveryFile, true, 2, 3, false));
    // Stop after a matching file: only a match that went into field 2.
    EXPECT_TRUE(StopsAfterFile(StopAfterMatchingFile, true, 2, 3, true));
    EXPECT_FALSE(StopsAfterFile(StopAfterMatchingFile, true, 2, 3, false));
    EXPECT_FALSE(StopsAfterFile(StopAfterMatchingFile, false, 1, 3, true));
    // Never stop.
    EXPECT_FALSE(StopsAfterFile(NeverStop, true, 1, 3, true));
    EXPECT_FALSE(StopsAfterFile(NeverStop, false, 1, 3, true));
}
