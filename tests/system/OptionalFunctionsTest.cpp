#include "system/OptionalFunctions.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Exit codes of calverin_optional_probe.
constexpr DWORD kSystemLibrary = 0;
constexpr DWORD kPlantedLibrary = 1;
constexpr DWORD kProbeTimeoutMs = 60000;

// Wine loads its own builtin DLLs whatever lies on the search path unless
// told to prefer native ones; this makes the plant a real threat there. The
// override names the probe alone and goes with the object, as do the keys it
// made. Elsewhere the key means nothing.
class PreferNativeThemeForProbe {
  public:
    PreferNativeThemeForProbe() {
        for (int i = 0; i < kDepth; ++i) {
            DWORD disposition = 0;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, kPaths[i], 0, nullptr, 0,
                                KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                                &disposition) != ERROR_SUCCESS)
                return;
            created_[i] = disposition == REG_CREATED_NEW_KEY;
            made_ = i + 1;
            if (i + 1 < kDepth)
                RegCloseKey(key_);
        }
        DWORD size = sizeof old_ - 1;
        hadValue_ = RegQueryValueExA(key_, kValue, nullptr, &oldType_,
                                     reinterpret_cast<BYTE*>(old_), &size) == ERROR_SUCCESS;
        oldSize_ = size;
        RegSetValueExA(key_, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"),
                       sizeof "native,builtin");
    }
    ~PreferNativeThemeForProbe() {
        if (made_ == kDepth) {
            if (hadValue_)
                RegSetValueExA(key_, kValue, 0, oldType_, reinterpret_cast<BYTE*>(old_), oldSize_);
            else
                RegDeleteValueA(key_, kValue);
            RegCloseKey(key_);
        }
        for (int i = made_ - 1; i >= 0; --i) {
            if (created_[i])
                RegDeleteKeyA(HKEY_CURRENT_USER, kPaths[i]);
        }
    }

  private:
    static constexpr int kDepth = 3;
    static constexpr const char* kPaths[kDepth] = {
        "Software\\Wine\\AppDefaults", "Software\\Wine\\AppDefaults\\calverin_optional_probe.exe",
        "Software\\Wine\\AppDefaults\\calverin_optional_probe.exe\\DllOverrides"};
    static constexpr const char* kValue = "uxtheme";
    HKEY key_ = nullptr;
    int made_ = 0;
    bool created_[kDepth] = {};
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    DWORD oldSize_ = 0;
    char old_[256] = {};
};

// Runs the probe with the planted folder on its DLL search path; returns its
// exit code, or a value no probe returns when it did not end in time.
DWORD RunProbe(const char* mode) {
    const std::string folder = ExeFolder();
    std::string commandLine =
        "\"" + folder + "\\calverin_optional_probe.exe\" " + mode + " \"" + folder + "\\planted\"";
    PreferNativeThemeForProbe preferNative;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return 0xFFFF;
    DWORD exitCode = 0xFFFE;
    if (WaitForSingleObject(process.hProcess, kProbeTimeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, 0xFFFE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

} // namespace

TEST(OptionalFunctions, PlantedThemeLibraryIsNeverBound) {
    // The setting is a real threat: a load by name takes the planted library.
    ASSERT_EQ(RunProbe("by-name"), kPlantedLibrary);
    // The wrappers yield 0 before binding, and the binding takes the system's.
    EXPECT_EQ(RunProbe("resolve"), kSystemLibrary);
}

TEST(OptionalFunctions, BoundFunctionsPassArgumentsAndResults) {
    ResolveOptionalFunctions();
    ScratchFolder scratch;
    const std::string longPath = scratch.WriteFile("A Rather Long File Name.txt", "x");
    char shortPath[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(longPath.c_str(), shortPath, MAX_PATH), 0u);
    char result[MAX_PATH];
    EXPECT_EQ(OptGetLongPathName(shortPath, result, MAX_PATH), longPath.size());
    EXPECT_EQ(std::string(result), longPath);

    BOOL isWow64 = 7;
    EXPECT_NE(OptIsWow64Process(GetCurrentProcess(), &isWow64), 0);
    EXPECT_TRUE(isWow64 == TRUE || isWow64 == FALSE);

    HWND window = CreateWindowExA(WS_EX_LAYERED, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(OptSetLayeredWindowAttributes(window, 0, 128, LWA_ALPHA), 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    DestroyWindow(window);
}
