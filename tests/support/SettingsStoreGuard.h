// Keeps a test from leaving the settings store changed: saves the INI file and
// the registry key when made and puts both back exactly when it goes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class SettingsStoreGuard {
  public:
    explicit SettingsStoreGuard(const std::string& iniPath);
    ~SettingsStoreGuard();
    SettingsStoreGuard(const SettingsStoreGuard&) = delete;
    SettingsStoreGuard& operator=(const SettingsStoreGuard&) = delete;

    // A fresh installation: no INI file, no registry key.
    void Clear() const;
    // Replaces the INI file with these bytes.
    void WriteIni(const std::string& bytes) const;
    // The INI file's bytes; empty when it does not exist.
    std::string ReadIni() const;

  private:
    struct Value {
        std::string name;
        DWORD type;
        std::string data;
    };
    // The profile functions keep files in a cache; a file changed behind
    // their back must leave it first.
    void ForgetCachedIni() const;

    std::string iniPath_;
    bool iniExisted_ = false;
    std::string iniBytes_;
    bool parentExisted_ = false;
    bool keyExisted_ = false;
    std::vector<Value> values_;
};

// Registry helpers for HKEY_CURRENT_USER\Software\Orrendale\Calverin.
bool SettingsKeyExists();
void SetRegistryValue(const char* name, DWORD type, const void* data, DWORD size);
void SetRegistryDword(const char* name, DWORD value);
void SetRegistryText(const char* name, const char* text);
// Type and raw bytes of a value; false when it is missing.
bool QueryRegistryValue(const char* name, DWORD* type, std::string* data);
