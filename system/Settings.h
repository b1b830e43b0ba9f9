// The settings store: an INI file beside the executable, or the registry key
// HKEY_CURRENT_USER\Software\Orrendale\Calverin.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct SettingsRecord {
    bool UseRegistry;
    bool StartInFullMode;
    bool GetFileOnStart;
    bool StartInTopMost;
    bool RememberPosition;
    bool Transparent;
    int WindowOpacity;
    COLORREF SameFileColor;
    COLORREF SameHashColor;
    COLORREF DiffHashColor;
    int MultipleFiles;
};

extern SettingsRecord Settings;
extern char IniPath[MAX_PATH];

constexpr const char* kSettingsSection = "OPTIONS";
constexpr const char* kRegistryKey = "Software\\Orrendale\\Calverin";

// The INI path into buffer; empty, and false, when it would not fit: a cut
// path would name another file. overlong, when given, then gets it whole.
bool MakeIniPath(char* buffer, int capacity, std::string* overlong = nullptr);
bool PathExists(const char* path);

// What LoadSettings found too long for MAX_PATH, in full (empty when none):
// the INI path (no INI file is then read or written) and the CustomUI text
// (no module is then loaded). Start-up reports them.
extern std::string OverlongIniPath;
extern std::string OverlongCustomUi;

int ReadSettingInt(const char* section, const char* key, int defaultValue, const char* iniPath,
                   bool useRegistry);
int ReadSettingString(const char* section, const char* key, const char* defaultText, char* buffer,
                      int capacity, const char* iniPath, bool useRegistry);
COLORREF ReadSettingColor(const char* section, const char* key, COLORREF defaultColour,
                          const char* iniPath, bool useRegistry);
bool WriteSettingInt(const char* section, const char* key, int value, const char* iniPath,
                     bool useRegistry);
bool WriteSettingString(const char* section, const char* key, const char* text, const char* iniPath,
                        bool useRegistry);
bool WriteSettingColor(const char* section, const char* key, COLORREF colour, const char* iniPath,
                       bool useRegistry);
void FlushSettings(const char* iniPath, bool useRegistry);

// Chooses the store, fills Settings and copies CustomUI into customUi
// (MAX_PATH characters). An INI file that an earlier version wrote in the
// system's code page is first rewritten in a form that keeps its values.
void LoadSettings(char* customUi);

// Key names of the store.
constexpr const char* kKeyUseRegistry = "UseRegistry";
constexpr const char* kKeyStartInFullMode = "StartInFullMode";
constexpr const char* kKeyGetFileOnStart = "GetFileOnStart";
constexpr const char* kKeyStartInTopMost = "StartInTopMost";
constexpr const char* kKeyRememberPosition = "RememberPosition";
constexpr const char* kKeyTransparent = "Transparent";
constexpr const char* kKeyWindowOpacity = "WindowOpacity";
constexpr const char* kKeySameFileColor = "SameFileColor";
constexpr const char* kKeySameHashColor = "SameHashColor";
constexpr const char* kKeyDiffHashColor = "DiffHashColor";
constexpr const char* kKeyMultipleFiles = "MultipleFiles";
constexpr const char* kKeyCustomUI = "CustomUI";
constexpr const char* kKeyWindowLeft = "WindowLeft";
constexpr const char* kKeyWindowTop = "WindowTop";

// Defaults of the values that Settings holds.
constexpr int kDefaultWindowOpacity = 255;
constexpr COLORREF kDefaultSameFileColor = 0xFFF0E1; // #e1f0ff
constexpr COLORREF kDefaultSameHashColor = 0xE1FFE1; // #e1ffe1
constexpr COLORREF kDefaultDiffHashColor = 0xDCDCFF; // #ffdcdc
constexpr int kDefaultMultipleFiles = 1;
