#include "system/HexText.h"

#include <gtest/gtest.h>

TEST(HexText, AcceptsDigitsAndBothCasesOfAToF) {
    EXPECT_TRUE(IsHexText("0123456789abcdefABCDEF"));
    EXPECT_TRUE(IsHexText("d41d8cd98f00b204e9800998ecf8427e"));
    EXPECT_TRUE(IsHexText(""));
}

TEST(HexText, RejectsAnyOtherCharacterAnywhere) {
    EXPECT_FALSE(IsHexText("g"));
    EXPECT_FALSE(IsHexText("d41d8cd98f00b204e9800998ecf8427 "));
    EXPECT_FALSE(IsHexText(" d41d8cd98f00b204e9800998ecf8427"));
    EXPECT_FALSE(IsHexText("0x12"));
    // The characters just outside each accepted range.
    for (const char* edge : {"/", ":", "`", "G", "@", "g", "\xE9", "\xFF"})
        EXPECT_FALSE(IsHexText(edge)) << edge;
}
