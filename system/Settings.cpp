#include "system/Settings.h"

#include "system/ColourText.h"
#include "system/IniPathRule.h"
#include "system/ScopedHandle.h"
#include "system/WidePath.h"

#include <vector>

SettingsRecord Settings;
char IniPath[MAX_PATH];
std::string OverlongIniPath;
std::string OverlongCustomUi;

namespace {

bool ReadWholeFile(const char* path, std::string* bytes) {
    bytes->clear();
    ScopedFile file =
        OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
    if (!file)
        return false;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes->append(chunk, got);
    return true;
}

bool HasByteOrderMark(const std::string& bytes) {
    return bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0 ||
           bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

// Under the UTF-8 code page the profile functions read a file without a
// byte-order mark as UTF-8, each byte that is not turned into a replacement
// character, and the next write stores those in place of the values. Such a
// file was written by an earlier version in the system's code page.
bool IsInSystemCodePage(const std::string& bytes) {
    if (GetACP() != CP_UTF8 || bytes.empty() || HasByteOrderMark(bytes))
        return false;
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                               static_cast<int>(bytes.size()), nullptr, 0) == 0;
}

// The system's own ANSI code page, whatever the program's is; 0 when unknown.
UINT SystemCodePage() {
    DWORD page = 0;
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(wchar_t)))
        return 0;
    return page;
}

// Rewrites an INI file in the system's code page as UTF-16 with its
// byte-order mark, which the profile functions read and write as Unicode,
// so that every value comes through. It is written beside the file and then
// put in its place: a failure midway leaves the file as it was.
void KeepIniReadable(const char* path) {
    std::string bytes;
    if (!ReadWholeFile(path, &bytes) || !IsInSystemCodePage(bytes))
        return;
    const UINT page = SystemCodePage();
    const int size = static_cast<int>(bytes.size());
    int length =
        page ? MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0) : 0;
    if (length <= 0)
        return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\xFEFF');
    MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, &text[1], length);
    const std::string fresh = std::string(path) + ".new";
    const DWORD byteCount = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    {
        ScopedFile file = OpenPath(fresh.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, 0);
        if (!file || !WriteFile(file.Get(), text.data(), byteCount, &written, nullptr))
            written = 0;
    }
    if (written != byteCount || !MoveFileExW(LiteralPath(fresh.c_str()).c_str(),
                                             LiteralPath(path).c_str(), MOVEFILE_REPLACE_EXISTING))
        DeleteFileW(LiteralPath(fresh.c_str()).c_str());
}

// An INI file takes writes unless it has no path or is still in the
// system's code page (it could not be rewritten): a write would lose every
// value that did not come through.
bool IniTakesWrites(const char* iniPath) {
    std::string bytes;
    return iniPath[0] != '\0' && !(ReadWholeFile(iniPath, &bytes) && IsInSystemCodePage(bytes));
}

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

bool MakeIniPath(char* buffer, int capacity, std::string* overlong) {
    buffer[0] = '\0';
    std::vector<wchar_t> module(kWidePathSize);
    DWORD length = GetModuleFileNameW(nullptr, module.data(), kWidePathSize);
    if (length == 0 || length >= static_cast<DWORD>(kWidePathSize))
        return false;
    const std::string modulePath = AnsiFromWide(module.data());
    // Room for ".ini", so that the rule cuts nothing.
    std::vector<char> path(modulePath.begin(), modulePath.end());
    path.resize(path.size() + 5, '\0');
    IniPathFromModulePath(path.data(), static_cast<int>(path.size()));
    if (lstrlenA(path.data()) >= capacity) {
        if (overlong)
            *overlong = path.data();
        return false;
    }
    lstrcpyA(buffer, path.data());
    return true;
}

bool PathExists(const char* path) {
    WIN32_FIND_DATAA found;
    return static_cast<bool>(ScopedFind(FindFirstFileA(path, &found)));
}

int ReadSettingInt(const char* section, const char* key, int defaultValue, const char* iniPath,
                   bool useRegistry) {
    if (!useRegistry && iniPath[0] == '\0')
        return defaultValue;
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
    if (!useRegistry && iniPath[0] == '\0') {
        lstrcpynA(buffer, defaultText, capacity);
        return lstrlenA(buffer);
    }
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
        return IniTakesWrites(iniPath) &&
               WritePrivateProfileStringA(section, key, text, iniPath) != FALSE;
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
        return IniTakesWrites(iniPath) &&
               WritePrivateProfileStringA(section, key, text, iniPath) != FALSE;
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
    if (!useRegistry && iniPath[0] != '\0')
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, iniPath);
}

void LoadSettings(char* customUi) {
    Settings = SettingsRecord{};
    OverlongIniPath.clear();
    OverlongCustomUi.clear();
    if (MakeIniPath(IniPath, MAX_PATH, &OverlongIniPath))
        KeepIniReadable(IniPath);

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

    // Read whole, so that a text too long is reported rather than cut. The
    // registry leaves the buffer alone when its key has gone meanwhile.
    std::vector<char> custom(kPathTextSize, '\0');
    ReadSettingString(kSettingsSection, kKeyCustomUI, "", custom.data(),
                      static_cast<int>(custom.size()), IniPath, useRegistry);
    customUi[0] = '\0';
    if (lstrlenA(custom.data()) < MAX_PATH)
        lstrcpyA(customUi, custom.data());
    else
        OverlongCustomUi = custom.data();
}
