#include "system/Settings.h"

#include "tests/support/SettingsStoreGuard.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

std::string ThisIniPath() {
    char path[MAX_PATH];
    MakeIniPath(path, MAX_PATH);
    return path;
}

// Each test starts from a fresh installation (no INI file beside the test
// executable, no registry key) and leaves the store as it found it.
class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override { guard_.Clear(); }

    std::string ini_ = ThisIniPath();
    SettingsStoreGuard guard_{ini_};
};

void ExpectDefaults(const SettingsRecord& record) {
    EXPECT_FALSE(record.StartInFullMode);
    EXPECT_TRUE(record.GetFileOnStart);
    EXPECT_TRUE(record.StartInTopMost);
    EXPECT_FALSE(record.RememberPosition);
    EXPECT_FALSE(record.Transparent);
    EXPECT_EQ(record.WindowOpacity, 255);
    EXPECT_EQ(record.SameFileColor, 0xFFF0E1u);
    EXPECT_EQ(record.SameHashColor, 0xE1FFE1u);
    EXPECT_EQ(record.DiffHashColor, 0xDCDCFFu);
    EXPECT_EQ(record.MultipleFiles, 1);
}

// Fills the registry with values that differ from every default.
void FillRegistryWithNonDefaults() {
    SetRegistryDword(kKeyStartInFullMode, 1);
    SetRegistryDword(kKeyGetFileOnStart, 0);
    SetRegistryDword(kKeyWindowOpacity, 10);
    SetRegistryDword(kKeyMultipleFiles, 2);
    SetRegistryText(kKeySameFileColor, "#010203");
    SetRegistryText(kKeyCustomUI, "registry.dll");
}

} // namespace

TEST(IniPath, LiesBesideTheExecutableWithItsName) {
    EXPECT_EQ(ThisIniPath(), ExeFolder() + "\\calverin_tests.ini");
}

TEST_F(SettingsStore, PathExistsForFilesAndFoldersOnly) {
    ScratchFolder scratch;
    EXPECT_TRUE(PathExists(scratch.WriteFile("a.txt", "").c_str()));
    EXPECT_TRUE(PathExists(scratch.Path().c_str()));
    EXPECT_FALSE(PathExists((scratch.Path() + "\\missing.txt").c_str()));
    EXPECT_FALSE(PathExists(ini_.c_str()));
}

TEST_F(SettingsStore, FreshInstallationReadsDefaultsFromTheIniStore) {
    char customUi[MAX_PATH];
    std::memset(customUi, 'x', sizeof customUi);
    LoadSettings(customUi);
    EXPECT_FALSE(Settings.UseRegistry);
    ExpectDefaults(Settings);
    EXPECT_STREQ(customUi, "");
    EXPECT_EQ(std::string(IniPath), ini_);
    EXPECT_FALSE(PathExists(ini_.c_str())); // reading creates nothing
}

TEST_F(SettingsStore, EmptyIniFileWinsOverTheRegistry) {
    guard_.WriteIni("");
    SetRegistryDword(kKeyUseRegistry, 1);
    FillRegistryWithNonDefaults();
    char customUi[MAX_PATH];
    LoadSettings(customUi);
    EXPECT_FALSE(Settings.UseRegistry);
    ExpectDefaults(Settings);
    EXPECT_STREQ(customUi, "");
}

TEST_F(SettingsStore, IniValuesAreReadAsStored) {
    guard_.WriteIni("[OPTIONS]\r\n"
                    "StartInFullMode=7\r\n"
                    "GetFileOnStart=0\r\n"
                    "StartInTopMost=0\r\n"
                    "RememberPosition=1\r\n"
                    "Transparent=-1\r\n"
                    "WindowOpacity=900\r\n"
                    "SameFileColor=#FF0000\r\n"
                    "SameHashColor=$0000ff\r\n"
                    "DiffHashColor=  #00ff00\r\n"
                    "MultipleFiles=5\r\n"
                    "CustomUI=skins\\dark.dll\r\n");
    SetRegistryDword(kKeyUseRegistry, 1);
    char customUi[MAX_PATH];
    LoadSettings(customUi);
    EXPECT_FALSE(Settings.UseRegistry);
    EXPECT_TRUE(Settings.StartInFullMode);
    EXPECT_FALSE(Settings.GetFileOnStart);
    EXPECT_FALSE(Settings.StartInTopMost);
    EXPECT_TRUE(Settings.RememberPosition);
    EXPECT_TRUE(Settings.Transparent);
    EXPECT_EQ(Settings.WindowOpacity, 900); // taken as read, no range check
    EXPECT_EQ(Settings.SameFileColor, 0x0000FFu);
    EXPECT_EQ(Settings.SameHashColor, 0x0000FFu);
    EXPECT_EQ(Settings.DiffHashColor, 0x00FF00u);
    EXPECT_EQ(Settings.MultipleFiles, 5);
    EXPECT_STREQ(customUi, "skins\\dark.dll");
}

TEST_F(SettingsStore, ColourTextsInTheIniFile) {
    guard_.WriteIni("[OPTIONS]\r\n"
                    "Red1=#FF0000\r\n"
                    "Red2=$0000ff\r\n"
                    "NoPrefix=ff0000\r\n"
                    "Lone=#\r\n"
                    "Green=  #00ff00\r\n"
                    "Short=#ff\r\n"
                    "Empty=\r\n");
    const COLORREF fallback = 0x123456;
    auto read = [&](const char* key) {
        return ReadSettingColor(kSettingsSection, key, fallback, ini_.c_str(), false);
    };
    EXPECT_EQ(read("Red1"), 0x0000FFu);
    EXPECT_EQ(read("Red2"), 0x0000FFu);
    EXPECT_EQ(read("NoPrefix"), fallback);
    EXPECT_EQ(read("Lone"), 0u);
    EXPECT_EQ(read("Green"), 0x00FF00u);
    EXPECT_EQ(read("Short"), 0xFF0000u);
    EXPECT_EQ(read("Empty"), fallback);
    EXPECT_EQ(read("Missing"), fallback);
}

TEST_F(SettingsStore, RegistryIsUsedWhenNoIniFileExistsAndItAsks) {
    SetRegistryDword(kKeyUseRegistry, 1);
    SetRegistryDword(kKeyStartInFullMode, 7);
    SetRegistryDword(kKeyMultipleFiles, 5);
    SetRegistryDword(kKeySameFileColor, 0x0000FF); // colour as a number: ignored
    SetRegistryText(kKeyWindowOpacity, "100");     // number as text: ignored
    SetRegistryText(kKeySameHashColor, "#ff0000");
    SetRegistryText(kKeyDiffHashColor, "$00ff00");
    SetRegistryText(kKeyCustomUI, "skin.dll");
    char customUi[MAX_PATH];
    LoadSettings(customUi);
    EXPECT_TRUE(Settings.UseRegistry);
    EXPECT_TRUE(Settings.StartInFullMode);
    EXPECT_TRUE(Settings.GetFileOnStart);
    EXPECT_EQ(Settings.MultipleFiles, 5);
    EXPECT_EQ(Settings.SameFileColor, 0xFFF0E1u);
    EXPECT_EQ(Settings.WindowOpacity, 255);
    EXPECT_EQ(Settings.SameHashColor, 0x0000FFu);
    EXPECT_EQ(Settings.DiffHashColor, 0x00FF00u);
    EXPECT_STREQ(customUi, "skin.dll");

    // Writes of this run go to the registry too; no INI file appears.
    EXPECT_TRUE(
        WriteSettingInt(kSettingsSection, kKeyWindowLeft, -20, IniPath, Settings.UseRegistry));
    FlushSettings(IniPath, Settings.UseRegistry);
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(QueryRegistryValue(kKeyWindowLeft, &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ReadSettingInt(kSettingsSection, kKeyWindowLeft, 0, IniPath, true), -20);
    EXPECT_FALSE(PathExists(ini_.c_str()));
}

TEST_F(SettingsStore, UseRegistryCountsOnlyAsANonZeroNumber) {
    SetRegistryText(kKeyUseRegistry, "1");
    FillRegistryWithNonDefaults();
    char customUi[MAX_PATH];
    LoadSettings(customUi);
    EXPECT_FALSE(Settings.UseRegistry);
    ExpectDefaults(Settings);

    SetRegistryDword(kKeyUseRegistry, 0);
    LoadSettings(customUi);
    EXPECT_FALSE(Settings.UseRegistry);
    ExpectDefaults(Settings);
}

TEST_F(SettingsStore, RegistryWritesCreateTheKeyWithTypedValues) {
    ASSERT_FALSE(SettingsKeyExists());
    EXPECT_TRUE(WriteSettingInt(kSettingsSection, kKeyMultipleFiles, 2, ini_.c_str(), true));
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_TRUE(WriteSettingString(kSettingsSection, kKeyCustomUI, "a.dll", ini_.c_str(), true));
    EXPECT_TRUE(
        WriteSettingColor(kSettingsSection, kKeySameFileColor, 0xFFF0E1, ini_.c_str(), true));

    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(QueryRegistryValue(kKeyMultipleFiles, &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::string("\x02\x00\x00\x00", 4));
    ASSERT_TRUE(QueryRegistryValue(kKeyCustomUI, &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, std::string("a.dll", 6)); // with its terminating zero
    ASSERT_TRUE(QueryRegistryValue(kKeySameFileColor, &type, &data));
    EXPECT_EQ(data, std::string("#e1f0ff", 8));
    EXPECT_FALSE(PathExists(ini_.c_str()));
}

TEST_F(SettingsStore, RegistryTextsFallBackToTheDefault) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    // No key: 0, and the buffer is left alone.
    EXPECT_EQ(ReadSettingString(kSettingsSection, "Text", "def", buffer, 8, ini_.c_str(), true), 0);
    EXPECT_EQ(buffer[0], 'x');

    SetRegistryText("Fits", "1234567");
    SetRegistryText("TooLong", "12345678");
    SetRegistryValue("Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    SetRegistryDword("Number", 5);
    auto read = [&](const char* key) {
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(ReadSettingString(kSettingsSection, key, "def", buffer, 8, ini_.c_str(), true),
                  1);
        return std::string(buffer);
    };
    EXPECT_EQ(read("Fits"), "1234567");
    EXPECT_EQ(read("TooLong"), "def");
    EXPECT_EQ(read("Expand"), "def");
    EXPECT_EQ(read("Number"), "def");
    EXPECT_EQ(read("Missing"), "def");
    // Default text longer than the buffer is cut, not overrun.
    std::memset(buffer, 'x', sizeof buffer);
    ReadSettingString(kSettingsSection, "Missing", "0123456789", buffer, 8, ini_.c_str(), true);
    EXPECT_STREQ(buffer, "0123456");
}

TEST_F(SettingsStore, RegistryTextStoredWithoutItsZeroEndsAtItsLength) {
    SetRegistryValue("Bare", REG_SZ, "abc", 3);
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(ReadSettingString(kSettingsSection, "Bare", "", buffer, 16, ini_.c_str(), true), 1);
    EXPECT_STREQ(buffer, "abc");
    SetRegistryValue("BareColour", REG_SZ, "#ff", 3);
    EXPECT_EQ(ReadSettingColor(kSettingsSection, "BareColour", 0, ini_.c_str(), true), 0xFF0000u);
}

TEST_F(SettingsStore, IniWritesCreateTheFileWithTheStoredTexts) {
    const char* path = ini_.c_str();
    EXPECT_TRUE(WriteSettingColor(kSettingsSection, kKeySameFileColor, 0xFFF0E1, path, false));
    EXPECT_TRUE(WriteSettingColor(kSettingsSection, kKeySameHashColor, 0xE1FFE1, path, false));
    EXPECT_TRUE(WriteSettingColor(kSettingsSection, kKeyDiffHashColor, 0xDCDCFF, path, false));
    EXPECT_TRUE(WriteSettingInt(kSettingsSection, kKeyWindowLeft, -20, path, false));
    EXPECT_TRUE(WriteSettingInt(kSettingsSection, kKeyWindowOpacity, 128, path, false));
    EXPECT_TRUE(WriteSettingString(kSettingsSection, kKeyCustomUI, "x.dll", path, false));
    FlushSettings(path, false);

    const std::string text = guard_.ReadIni();
    EXPECT_NE(text.find("[OPTIONS]"), std::string::npos);
    EXPECT_NE(text.find("SameFileColor=#e1f0ff"), std::string::npos) << text;
    EXPECT_NE(text.find("SameHashColor=#e1ffe1"), std::string::npos) << text;
    EXPECT_NE(text.find("DiffHashColor=#ffdcdc"), std::string::npos) << text;
    EXPECT_NE(text.find("WindowLeft=-20"), std::string::npos) << text;
    EXPECT_FALSE(SettingsKeyExists());

    // And the next run reads them back from the file.
    char customUi[MAX_PATH];
    LoadSettings(customUi);
    EXPECT_FALSE(Settings.UseRegistry);
    EXPECT_EQ(Settings.SameFileColor, 0xFFF0E1u);
    EXPECT_EQ(Settings.DiffHashColor, 0xDCDCFFu);
    EXPECT_EQ(Settings.WindowOpacity, 128);
    EXPECT_STREQ(customUi, "x.dll");
    char text2[8];
    EXPECT_EQ(ReadSettingString(kSettingsSection, kKeyCustomUI, "", text2, 8, path, false), 5);
}
