#include "system/SizeText.h"

#include <gtest/gtest.h>
#include <string>

namespace {
std::string SizeText(uint64_t size) {
    char buffer[kSizeTextSize];
    return FormatSizeText(buffer, static_cast<uint32_t>(size), static_cast<uint32_t>(size >> 32));
}

constexpr uint64_t kGigaLimit = 250ull << 32; // shown as 1000.00 GB
} // namespace

TEST(SizeText, EachUnitRunsUpToAThousandOfIt) {
    EXPECT_EQ(SizeText(0), "0 B");
    EXPECT_EQ(SizeText(1024), "1024 B");
    EXPECT_EQ(SizeText(1025), "1 KB");
    EXPECT_EQ(SizeText(1024000), "1000 KB");
    EXPECT_EQ(SizeText(1024001), "0.98 MB");
    EXPECT_EQ(SizeText(1048576000), "1000.00 MB");
    EXPECT_EQ(SizeText(1048576001), "0.98 GB");
    EXPECT_EQ(SizeText(kGigaLimit), "1000.00 GB");
    EXPECT_EQ(SizeText(kGigaLimit + 1), "0.98 TB");
    EXPECT_EQ(SizeText(5000000), "4.77 MB");
}

TEST(SizeText, SizesBeyondFourGigabytesUseTheHighHalf) {
    EXPECT_EQ(SizeText(0x100000000ull), "4.00 GB");
    EXPECT_EQ(SizeText(0xFFFFFFFFull), "4.00 GB");
    EXPECT_EQ(SizeText(0x1FFFFFFFFull), "8.00 GB");
    // 2^40 bytes: the terabyte row.
    EXPECT_EQ(SizeText(1ull << 40), "1.00 TB");
    EXPECT_EQ(SizeText(~0ull), "16777216.00 TB");
}

TEST(SizeText, GigabytesCountWholeKilobytes) {
    // 1179648 KB is 1.125 GB exactly, a tie that rounds to even; the 1023
    // bytes beyond it are dropped, or the tie would round up.
    EXPECT_EQ(SizeText(1179648ull * 1024 + 1023), "1.12 GB");
}

TEST(SizeText, TerabytesAreHeldInSinglePrecision) {
    // (2^30 + 63) GB: in double precision 1048576.06 TB; a float of the
    // gigabyte count has no room for the 63.
    EXPECT_EQ(SizeText(((1ull << 30) + 63) << 30), "1048576.00 TB");
    // Below 2^24 GB the float is exact.
    EXPECT_EQ(SizeText(((1ull << 20) + 10) << 30), "1024.01 TB");
}

TEST(SizeText, TiesRoundToEvenOnEveryPlatform) {
    EXPECT_EQ(SizeText(1536), "2 KB");                         // 1.5
    EXPECT_EQ(SizeText(2560), "2 KB");                         // 2.5
    EXPECT_EQ(SizeText(1179648), "1.12 MB");                   // 1.125
    EXPECT_EQ(SizeText(1048576 * 5 / 8 + 1048576), "1.62 MB"); // 1.625
    EXPECT_EQ(SizeText(1441792), "1.38 MB");                   // 1.375
}
