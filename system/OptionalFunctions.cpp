#include "system/OptionalFunctions.h"

#include <atomic>

namespace {

using GetLongPathNameFn = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using Wow64DisableFn = BOOL(WINAPI*)(PVOID*);
using Wow64RevertFn = BOOL(WINAPI*)(PVOID);
using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using FlashWindowExFn = BOOL(WINAPI*)(PFLASHWINFO);
using MonitorFromRectFn = HMONITOR(WINAPI*)(LPCRECT, DWORD);
using GetMonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
using IsThemeActiveFn = BOOL(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// Written once at start-up, read from any thread afterwards.
std::atomic<GetLongPathNameFn> getLongPathName{nullptr};
std::atomic<IsWow64ProcessFn> isWow64Process{nullptr};
std::atomic<Wow64DisableFn> wow64Disable{nullptr};
std::atomic<Wow64RevertFn> wow64Revert{nullptr};
std::atomic<SetLayeredWindowAttributesFn> setLayeredWindowAttributes{nullptr};
std::atomic<FlashWindowExFn> flashWindowEx{nullptr};
std::atomic<MonitorFromRectFn> monitorFromRect{nullptr};
std::atomic<GetMonitorInfoFn> getMonitorInfo{nullptr};
std::atomic<IsThemeActiveFn> isThemeActive{nullptr};
std::atomic<GetDpiForWindowFn> getDpiForWindow{nullptr};
std::atomic<GetSystemMetricsForDpiFn> getSystemMetricsForDpi{nullptr};
std::atomic<AdjustWindowRectExForDpiFn> adjustWindowRectExForDpi{nullptr};
std::atomic<SystemParametersInfoForDpiFn> systemParametersInfoForDpi{nullptr};

constexpr char kThemeLibrary[] = "\\uxtheme.dll";

template <typename Fn> void Bind(std::atomic<Fn>& slot, HMODULE module, const char* name) {
    slot.store(reinterpret_cast<Fn>(GetProcAddress(module, name)), std::memory_order_release);
}

// uxtheme.dll from the system folder only: the program is often started with
// a downloads folder as its current folder, and a DLL planted there must never
// be loaded. Null when the library is not there.
HMODULE LoadThemeLibrary() {
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof kThemeLibrary > MAX_PATH)
        return nullptr;
    lstrcpyA(path + length, kThemeLibrary);
    HMODULE module = GetModuleHandleA(path);
    if (module != nullptr)
        return module;
    // Its own imports are looked up from the system folder as well.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

void ResolveOptionalFunctions() {
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
        Bind(getLongPathName, kernel, "GetLongPathNameA");
        Bind(isWow64Process, kernel, "IsWow64Process");
        Bind(wow64Disable, kernel, "Wow64DisableWow64FsRedirection");
        Bind(wow64Revert, kernel, "Wow64RevertWow64FsRedirection");
    }
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
        Bind(setLayeredWindowAttributes, user, "SetLayeredWindowAttributes");
        Bind(flashWindowEx, user, "FlashWindowEx");
        Bind(monitorFromRect, user, "MonitorFromRect");
        Bind(getMonitorInfo, user, "GetMonitorInfoA");
        Bind(getDpiForWindow, user, "GetDpiForWindow");
        Bind(getSystemMetricsForDpi, user, "GetSystemMetricsForDpi");
        Bind(adjustWindowRectExForDpi, user, "AdjustWindowRectExForDpi");
        Bind(systemParametersInfoForDpi, user, "SystemParametersInfoForDpi");
    }
    // Never freed: the pointer is used until the process ends.
    if (HMODULE theme = LoadThemeLibrary())
        Bind(isThemeActive, theme, "IsThemeActive");
}

DWORD OptGetLongPathName(const char* shortPath, char* longPath, DWORD size) {
    GetLongPathNameFn function = getLongPathName.load(std::memory_order_acquire);
    return function != nullptr ? function(shortPath, longPath, size) : 0;
}

BOOL OptIsWow64Process(HANDLE process, BOOL* isWow64) {
    IsWow64ProcessFn function = isWow64Process.load(std::memory_order_acquire);
    return function != nullptr ? function(process, isWow64) : 0;
}

BOOL OptWow64DisableWow64FsRedirection(PVOID* oldValue) {
    Wow64DisableFn function = wow64Disable.load(std::memory_order_acquire);
    return function != nullptr ? function(oldValue) : 0;
}

BOOL OptWow64RevertWow64FsRedirection(PVOID oldValue) {
    Wow64RevertFn function = wow64Revert.load(std::memory_order_acquire);
    return function != nullptr ? function(oldValue) : 0;
}

BOOL OptSetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
    SetLayeredWindowAttributesFn function =
        setLayeredWindowAttributes.load(std::memory_order_acquire);
    return function != nullptr ? function(window, key, alpha, flags) : 0;
}

BOOL OptFlashWindowEx(FLASHWINFO* info) {
    FlashWindowExFn function = flashWindowEx.load(std::memory_order_acquire);
    return function != nullptr ? function(info) : 0;
}

HMONITOR OptMonitorFromRect(const RECT* rect, DWORD flags) {
    MonitorFromRectFn function = monitorFromRect.load(std::memory_order_acquire);
    return function != nullptr ? function(rect, flags) : nullptr;
}

BOOL OptGetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    GetMonitorInfoFn function = getMonitorInfo.load(std::memory_order_acquire);
    return function != nullptr ? function(monitor, info) : 0;
}

bool HasFlashWindowEx() {
    return flashWindowEx.load(std::memory_order_acquire) != nullptr;
}

BOOL OptIsThemeActive() {
    IsThemeActiveFn function = isThemeActive.load(std::memory_order_acquire);
    return function != nullptr ? function() : 0;
}

UINT OptGetDpiForWindow(HWND window) {
    GetDpiForWindowFn function = getDpiForWindow.load(std::memory_order_acquire);
    return function != nullptr ? function(window) : 0;
}

int OptGetSystemMetricsForDpi(int index, UINT dpi) {
    GetSystemMetricsForDpiFn function = getSystemMetricsForDpi.load(std::memory_order_acquire);
    return function != nullptr ? function(index, dpi) : 0;
}

BOOL OptAdjustWindowRectExForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi) {
    AdjustWindowRectExForDpiFn function = adjustWindowRectExForDpi.load(std::memory_order_acquire);
    return function != nullptr ? function(rect, style, menu, exStyle, dpi) : 0;
}

BOOL OptSystemParametersInfoForDpi(UINT action, UINT param, void* value, UINT update, UINT dpi) {
    SystemParametersInfoForDpiFn function =
        systemParametersInfoForDpi.load(std::memory_order_acquire);
    return function != nullptr ? function(action, param, value, update, dpi) : 0;
}
