#include "system/ColourText.h"

#include <gtest/gtest.h>
#include <string>

namespace {
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kFallback = 0x123456;

std::string ToText(uint32_t colour) {
    char text[kColourTextSize];
    ColourToText(text, colour);
    return text;
}
} // namespace

TEST(ParseHex, DigitsOfBothCasesUpToTheFirstOtherCharacter) {
    EXPECT_EQ(ParseHex("1f"), 0x1Fu);
    EXPECT_EQ(ParseHex("AbCdEf"), 0xABCDEFu);
    EXPECT_EQ(ParseHex("   ff"), 0xFFu);
    EXPECT_EQ(ParseHex("12g4"), 0x12u);
    EXPECT_EQ(ParseHex("12 34"), 0x12u);
    EXPECT_EQ(ParseHex("0x12"), 0u); // the x stops the scan after the 0
}

TEST(ParseHex, NoDigitGivesZero) {
    EXPECT_EQ(ParseHex(""), 0u);
    EXPECT_EQ(ParseHex("   "), 0u);
    EXPECT_EQ(ParseHex("zz"), 0u);
    EXPECT_EQ(ParseHex("\tff"), 0u); // only spaces are skipped
}

TEST(ParseHex, DigitsBeyondTheEighthPushTheOldestOut) {
    EXPECT_EQ(ParseHex("ffffffff"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHex("123456789"), 0x23456789u);
    EXPECT_EQ(ParseHex("abcdef0123456789"), 0x23456789u);
}

TEST(ColourText, BothPrefixesReadTheirOrder) {
    EXPECT_EQ(ColourFromText("#FF0000", kFallback), kRed);
    EXPECT_EQ(ColourFromText("$0000ff", kFallback), kRed);
    EXPECT_EQ(ColourFromText("  #00ff00", kFallback), kGreen);
    EXPECT_EQ(ColourFromText("#ff", kFallback), kBlue);
    EXPECT_EQ(ColourFromText("#e1f0ff", kFallback), 0xFFF0E1u);
    // "$" keeps all 32 bits, "#" drops the top byte.
    EXPECT_EQ(ColourFromText("$12345678", kFallback), 0x12345678u);
    EXPECT_EQ(ColourFromText("#12345678", kFallback), 0x785634u);
}

TEST(ColourText, NoPrefixGivesTheFallbackAndNoDigitBlack) {
    EXPECT_EQ(ColourFromText("ff0000", kFallback), kFallback);
    EXPECT_EQ(ColourFromText("", kFallback), kFallback);
    EXPECT_EQ(ColourFromText("\t#ff0000", kFallback), kFallback);
    EXPECT_EQ(ColourFromText("#", kFallback), 0u);
    EXPECT_EQ(ColourFromText("$", kFallback), 0u);
    EXPECT_EQ(ColourFromText("#zz", kFallback), 0u);
}

TEST(ColourText, WritesSixLowerCaseDigitsRedFirst) {
    EXPECT_EQ(ToText(0xFFF0E1), "#e1f0ff");
    EXPECT_EQ(ToText(0xE1FFE1), "#e1ffe1");
    EXPECT_EQ(ToText(0xDCDCFF), "#ffdcdc");
    EXPECT_EQ(ToText(kRed), "#ff0000");
    EXPECT_EQ(ToText(0), "#000000");
    EXPECT_EQ(ToText(0xFF010203), "#030201"); // the top byte is not a colour
}

TEST(ColourText, WrittenTextReadsBackTheSameColour) {
    for (uint32_t colour : {0x000000u, 0x0A0B0Cu, 0xFFFFFFu, 0x80FF01u, 0x00F0E1u}) {
        EXPECT_EQ(ColourFromText(ToText(colour).c_str(), kFallback), colour) << colour;
    }
}
