// Puts one registry key's values back as they were when the object was made:
// for tests whose system dialogs remember things (the open-file dialog keeps
// the last folder per program under HKCU ...\ComDlg32\LastVisitedMRU).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class RegistrySnapshot {
  public:
    RegistrySnapshot(HKEY root, const std::string& subKey);
    // Values added since are removed, changed ones restored; keys along the
    // path that did not exist are removed (they must have no other subkeys).
    ~RegistrySnapshot();
    RegistrySnapshot(const RegistrySnapshot&) = delete;
    RegistrySnapshot& operator=(const RegistrySnapshot&) = delete;

  private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    HKEY root_;
    std::string subKey_;
    bool existed_ = false;
    std::vector<std::string> missingKeys_; // deepest first
    std::vector<Value> values_;
};

// The open-file dialog's memory of the last folder of each program.
constexpr const char* kOpenDialogMemoryKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU";
