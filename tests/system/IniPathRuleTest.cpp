#include "system/IniPathRule.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {
constexpr int kCapacity = 260;

std::string IniPathFor(const std::string& modulePath) {
    char buffer[kCapacity] = {};
    std::strncpy(buffer, modulePath.c_str(), kCapacity - 1);
    IniPathFromModulePath(buffer, kCapacity);
    return buffer;
}
} // namespace

TEST(IniPathRule, ExtensionOfTheFileNameIsReplaced) {
    EXPECT_EQ(IniPathFor("D:\\Tools\\check.exe"), "D:\\Tools\\check.ini");
    EXPECT_EQ(IniPathFor("D:\\Tools\\check.tar.exe"), "D:\\Tools\\check.tar.ini");
    EXPECT_EQ(IniPathFor("check.exe"), "check.ini");
}

TEST(IniPathRule, DotInAFolderNameIsNoExtension) {
    EXPECT_EQ(IniPathFor("D:\\My.Tools\\check"), "D:\\My.Tools\\check.ini");
    EXPECT_EQ(IniPathFor("D:\\Tools\\check"), "D:\\Tools\\check.ini");
}

TEST(IniPathRule, LongModulePathIsCutToLeaveRoomForTheExtension) {
    // 300 characters, no dot: cut to 255, then ".ini" makes 259.
    const std::string modulePath = "C:\\" + std::string(297, 'a');
    char buffer[kCapacity + 100];
    std::memcpy(buffer, modulePath.c_str(), modulePath.size() + 1);
    buffer[kCapacity] = '#';
    IniPathFromModulePath(buffer, kCapacity);
    const std::string result = buffer;
    EXPECT_EQ(result.size(), static_cast<size_t>(kCapacity - 1));
    EXPECT_EQ(result, modulePath.substr(0, kCapacity - 5) + ".ini");
    EXPECT_EQ(buffer[kCapacity], '#');
    // A dot that the cut leaves inside the file name still counts.
    EXPECT_EQ(IniPathFor("C:\\x." + std::string(300, 'e')), "C:\\x.ini");
}
