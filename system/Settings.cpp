#include "system/Settings.h"

#include "system/ColourText.h"
#include "system/IniPathRule.h"
#include "system/ScopedHandle.h"

SettingsRecord Settings;
char IniPath[MAX_PATH];

namespace {

// A stored colour text longer than this reads as its default.
constexpr int kColourBufferSize = 100;

// HKEY_CURRENT_USER\<kRegistryKey> for reading; empty when it does not exist.
ScopedRegistryKey OpenSettingsKeyForQuery() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        key = nullptr;
    return ScopedRegistryKey(key);
}

// The same key for writing, created when missing.
ScopedRegistryKey OpenSettingsKeyForSet() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS)
        return ScopedRegistryKey(key);
    if (RegCreateKeyA(HKEY_CURRENT_USER, kRegistryKey, &key) != ERROR_SUCCESS)
        key = nullptr;
    return ScopedRegistryKey(key);
}

bool ReadBool(const char* key, bool defaultValue, bool useRegistry) {
    return ReadSettingInt(kSettingsSection, key, defaultValue ? 1 : 0, IniPath, useRegistry) != 0;
}

} // namespace

void MakeIniPath(char* buffer, int capacity) {
    // The rule keeps the module path to capacity - 5 characters; older systems
    // leave a cut path without its zero.
    DWORD length = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(capacity - 4));
    buffer[capacity - 5] = '\0';
    if (length == 0)
        buffer[0] = '\0';
    IniPathFromModulePath(buffer, capacity);
}

bool PathExists(const char* path) {
    WIN32_FIND_DATAA found;
    return static_cast<bool>(ScopedFind(FindFirstFileA(path, &found)));
}

int ReadSettingInt(const char* section, const char* key, int defaultValue, const char* iniPath,
                   bool useRegistry) {
    if (!useRegistry)
        return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, iniPath));

    ScopedRegistryKey settingsKey = OpenSettingsKeyForQuery();
    if (!settingsKey)
        return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG result = RegQueryValueExA(settingsKey.Get(), key, nullptr, &type,
                                   reinterpret_cast<BYTE*>(&value), &size);
    if (result != ERROR_SUCCESS || type != REG_DWORD)
        return defaultValue;
    return static_cast<int>(value);
}

int ReadSettingString(const char* section, const char* key, const char* defaultText, char* buffer,
                      int capacity, const char* iniPath, bool useRegistry) {
    if (!useRegistry)
        return static_cast<int>(GetPrivateProfileStringA(section, key, defaultText, buffer,
                                                         static_cast<DWORD>(capacity), iniPath));

    ScopedRegistryKey settingsKey = OpenSettingsKeyForQuery();
    if (!settingsKey)
        return 0;
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    LONG result = RegQueryValueExA(settingsKey.Get(), key, nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    if (result != ERROR_SUCCESS || type != REG_SZ) {
        lstrcpynA(buffer, defaultText, capacity);
    } else if (size < static_cast<DWORD>(capacity)) {
        // A text stored without its zero would otherwise run on into
        // whatever the buffer held before.
        buffer[size] = '\0';
    }
    buffer[capacity - 1] = '\0';
    return 1;
}

COLORREF ReadSettingColor(const char* section, const char* key, COLORREF defaultColour,
                          const char* iniPath, bool useRegistry) {
    char text[kColourBufferSize];
    if (ReadSettingString(section, key, "", text, kColourBufferSize, iniPath, useRegistry) == 0)
        return defaultColour;
    return ColourFromText(text, defaultColour);
}

bool WriteSettingInt(const char* section, const char* key, int value, const char* iniPath,
                     bool useRegistry) {
    if (!useRegistry) {
        char text[16];
        wsprintfA(text, "%d", value);
        return WritePrivateProfileStringA(section, key, text, iniPath) != FALSE;
    }
    ScopedRegistryKey settingsKey = OpenSettingsKeyForSet();
    if (!settingsKey)
        return false;
    DWORD stored = static_cast<DWORD>(value);
    return RegSetValueExA(settingsKey.Get(), key, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&stored), sizeof stored) == ERROR_SUCCESS;
}

bool WriteSettingString(const char* section, const char* key, const char* text, const char* iniPath,
                        bool useRegistry) {
    if (!useRegistry)
        return WritePrivateProfileStringA(section, key, text, iniPath) != FALSE;
    ScopedRegistryKey settingsKey = OpenSettingsKeyForSet();
    if (!settingsKey)
        return false;
    return RegSetValueExA(settingsKey.Get(), key, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(lstrlenA(text) + 1)) == ERROR_SUCCESS;
}

bool WriteSettingColor(const char* section, const char* key, COLORREF colour, const char* iniPath,
                       bool useRegistry) {
    char text[kColourTextSize];
    ColourToText(text, colour);
    return WriteSettingString(section, key, text, iniPath, useRegistry);
}

void FlushSettings(const char* iniPath, bool useRegistry) {
    if (!useRegistry)
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, iniPath);
}

void LoadSettings(char* customUi) {
    Settings = SettingsRecord{};
    MakeIniPath(IniPath, MAX_PATH);

    // An existing INI file always wins over the registry.
    const bool useRegistry =
        !PathExists(IniPath) &&
        ReadSettingInt(kSettingsSection, kKeyUseRegistry, 0, IniPath, true) != 0;
    Settings.UseRegistry = useRegistry;

    Settings.StartInFullMode = ReadBool(kKeyStartInFullMode, false, useRegistry);
    Settings.GetFileOnStart = ReadBool(kKeyGetFileOnStart, true, useRegistry);
    Settings.StartInTopMost = ReadBool(kKeyStartInTopMost, true, useRegistry);
    Settings.RememberPosition = ReadBool(kKeyRememberPosition, false, useRegistry);
    Settings.Transparent = ReadBool(kKeyTransparent, false, useRegistry);
    Settings.WindowOpacity = ReadSettingInt(kSettingsSection, kKeyWindowOpacity,
                                            kDefaultWindowOpacity, IniPath, useRegistry);
    Settings.SameFileColor = ReadSettingColor(kSettingsSection, kKeySameFileColor,
                                              kDefaultSameFileColor, IniPath, useRegistry);
    Settings.SameHashColor = ReadSettingColor(kSettingsSection, kKeySameHashColor,
                                              kDefaultSameHashColor, IniPath, useRegistry);
    Settings.DiffHashColor = ReadSettingColor(kSettingsSection, kKeyDiffHashColor,
                                              kDefaultDiffHashColor, IniPath, useRegistry);
    Settings.MultipleFiles = ReadSettingInt(kSettingsSection, kKeyMultipleFiles,
                                            kDefaultMultipleFiles, IniPath, useRegistry);

    // The registry leaves the buffer alone when its key has gone meanwhile.
    customUi[0] = '\0';
    ReadSettingString(kSettingsSection, kKeyCustomUI, "", customUi, MAX_PATH, IniPath, useRegistry);
}
