#include "tests/support/SettingsStoreGuard.h"

#include "system/Settings.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr const char* kParentKey = "Software\\Orrendale";

bool KeyExists(const char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteSettingsKey(bool withParent) {
    // Values first: the key itself cannot go while it has subkeys.
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_READ | KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        char name[256];
        DWORD nameSize = sizeof name;
        while (RegEnumValueA(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr) ==
                   ERROR_SUCCESS &&
               RegDeleteValueA(key, name) == ERROR_SUCCESS)
            nameSize = sizeof name;
        RegCloseKey(key);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kRegistryKey);
    if (withParent)
        RegDeleteKeyA(HKEY_CURRENT_USER, kParentKey);
}

} // namespace

SettingsStoreGuard::SettingsStoreGuard(const std::string& iniPath) : iniPath_(iniPath) {
    ForgetCachedIni();
    iniExisted_ = ReadFileBytes(iniPath_, &iniBytes_);
    parentExisted_ = KeyExists(kParentKey);
    HKEY key;
    keyExisted_ =
        RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!keyExisted_)
        return;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameSize = sizeof name;
        BYTE data[4096];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        values_.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataSize)});
    }
    RegCloseKey(key);
}

SettingsStoreGuard::~SettingsStoreGuard() {
    Clear();
    if (iniExisted_)
        WriteIni(iniBytes_);
    if (keyExisted_) {
        for (const Value& value : values_)
            SetRegistryValue(value.name.c_str(), value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size()));
    }
}

void SettingsStoreGuard::ForgetCachedIni() const {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, iniPath_.c_str());
}

void SettingsStoreGuard::Clear() const {
    ForgetCachedIni();
    DeleteFileA(iniPath_.c_str());
    ForgetCachedIni();
    DeleteSettingsKey(!parentExisted_);
}

void SettingsStoreGuard::WriteIni(const std::string& bytes) const {
    ForgetCachedIni();
    WriteFileBytes(iniPath_, bytes);
    ForgetCachedIni();
}

std::string SettingsStoreGuard::ReadIni() const {
    ForgetCachedIni();
    std::string bytes;
    ReadFileBytes(iniPath_, &bytes);
    return bytes;
}

bool SettingsKeyExists() {
    return KeyExists(kRegistryKey);
}

void SetRegistryValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, kRegistryKey, &key) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetRegistryDword(const char* name, DWORD value) {
    SetRegistryValue(name, REG_DWORD, &value, sizeof value);
}

void SetRegistryText(const char* name, const char* text) {
    SetRegistryValue(name, REG_SZ, text, static_cast<DWORD>(lstrlenA(text) + 1));
}

bool QueryRegistryValue(const char* name, DWORD* type, std::string* data) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    BYTE bytes[4096];
    DWORD size = sizeof bytes;
    LONG result = RegQueryValueExA(key, name, nullptr, type, bytes, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    data->assign(reinterpret_cast<char*>(bytes), size);
    return true;
}
