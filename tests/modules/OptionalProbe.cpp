// Helper process of the optional-functions tests: binds the functions in a
// fresh process whose DLL search path holds a planted uxtheme.dll.
//   calverin_optional_probe by-name  FOLDER   loads uxtheme.dll by name
//   calverin_optional_probe resolve  FOLDER   ResolveOptionalFunctions
// Exit codes are the ProbeResult values below.
#include "system/OptionalFunctions.h"

#include <cstring>

namespace {

enum ProbeResult {
    kSystemLibrary = 0,  // the system folder's uxtheme.dll is bound
    kPlantedLibrary = 1, // the planted one is bound
    kOtherLibrary = 2,   // bound from somewhere else, or not at all
    kWrapperNotZero = 3, // a wrapper gave non-zero before the functions were bound
    kAlreadyLoaded = 4,  // uxtheme.dll was in the process already: nothing to learn
    kUsage = 5,
};

constexpr BOOL kPlantedAnswer = 0x7A11;

bool WrappersYieldZero() {
    char buffer[MAX_PATH] = "untouched";
    BOOL isWow64 = 7;
    PVOID old = nullptr;
    FLASHWINFO flash = {};
    flash.cbSize = sizeof flash;
    RECT rect = {1, 2, 3, 4};
    return OptGetLongPathName("C:\\", buffer, MAX_PATH) == 0 &&
           std::strcmp(buffer, "untouched") == 0 &&
           OptIsWow64Process(GetCurrentProcess(), &isWow64) == 0 && isWow64 == 7 &&
           OptWow64DisableWow64FsRedirection(&old) == 0 &&
           OptWow64RevertWow64FsRedirection(old) == 0 &&
           OptSetLayeredWindowAttributes(nullptr, 0, 0, 0) == 0 && OptFlashWindowEx(&flash) == 0 &&
           OptIsThemeActive() == 0 && OptGetDpiForWindow(nullptr) == 0 &&
           OptGetSystemMetricsForDpi(SM_CXICON, 96) == 0 &&
           OptAdjustWindowRectExForDpi(&rect, WS_CAPTION, FALSE, 0, 96) == 0 && rect.left == 1 &&
           OptSystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, 0, nullptr, 0, 96) == 0;
}

ProbeResult Classify(HMODULE module, BOOL answer) {
    if (module == nullptr)
        return kOtherLibrary;
    if (answer == kPlantedAnswer)
        return kPlantedLibrary;
    char path[MAX_PATH];
    char system[MAX_PATH];
    GetModuleFileNameA(module, path, MAX_PATH);
    UINT length = GetSystemDirectoryA(system, MAX_PATH);
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path, length, system, length) ==
                   CSTR_EQUAL
               ? kSystemLibrary
               : kOtherLibrary;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return kUsage;
    if (GetModuleHandleA("uxtheme.dll") != nullptr)
        return kAlreadyLoaded;
    SetDllDirectoryA(argv[2]);

    if (std::strcmp(argv[1], "by-name") == 0) {
        HMODULE module = LoadLibraryA("uxtheme.dll");
        using IsThemeActiveFn = BOOL(WINAPI*)();
        auto isThemeActive =
            module ? reinterpret_cast<IsThemeActiveFn>(GetProcAddress(module, "IsThemeActive"))
                   : nullptr;
        return Classify(module, isThemeActive ? isThemeActive() : 0);
    }
    if (std::strcmp(argv[1], "resolve") == 0) {
        if (!WrappersYieldZero())
            return kWrapperNotZero;
        ResolveOptionalFunctions();
        return Classify(GetModuleHandleA("uxtheme.dll"), OptIsThemeActive());
    }
    return kUsage;
}
