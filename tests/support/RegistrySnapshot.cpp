#include "tests/support/RegistrySnapshot.h"

namespace {

constexpr DWORD kMaxName = 16384;

// Names and contents of all values of an open key.
template <typename Visit> void ForEachValue(HKEY key, Visit visit) {
    std::vector<char> name(kMaxName);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kMaxName;
        DWORD type = 0, size = 0;
        if (RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            return;
        std::vector<BYTE> data(size);
        nameLength = kMaxName;
        if (RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type,
                          data.empty() ? nullptr : data.data(), &size) != ERROR_SUCCESS)
            return;
        visit(std::string(name.data(), nameLength), type, data);
    }
}

} // namespace

RegistrySnapshot::RegistrySnapshot(HKEY root, const std::string& subKey)
    : root_(root), subKey_(subKey) {
    HKEY key;
    for (size_t end = 0; end != std::string::npos;) {
        end = subKey_.find('\\', end + 1);
        std::string prefix = subKey_.substr(0, end);
        if (RegOpenKeyExA(root_, prefix.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
            RegCloseKey(key);
        else
            missingKeys_.insert(missingKeys_.begin(), prefix);
    }
    existed_ = RegOpenKeyExA(root_, subKey_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!existed_)
        return;
    ForEachValue(key, [&](const std::string& name, DWORD type, const std::vector<BYTE>& data) {
        values_.push_back(Value{name, type, data});
    });
    RegCloseKey(key);
}

RegistrySnapshot::~RegistrySnapshot() {
    HKEY key;
    if (!existed_) {
        for (const std::string& missing : missingKeys_)
            RegDeleteKeyA(root_, missing.c_str());
        return;
    }
    if (RegCreateKeyExA(root_, subKey_.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    std::vector<std::string> present;
    ForEachValue(key, [&](const std::string& name, DWORD, const std::vector<BYTE>&) {
        present.push_back(name);
    });
    for (const std::string& name : present)
        RegDeleteValueA(key, name.c_str());
    for (const Value& value : values_)
        RegSetValueExA(key, value.name.c_str(), 0, value.type,
                       value.data.empty() ? nullptr : value.data.data(), (DWORD)value.data.size());
    RegCloseKey(key);
}
