#include "tests/ui/DialogTestSupport.h"

#include <atomic>
#include <cstring>
#include <thread>

#include "app/OptionalFunctions.h"
#include "jobs/JobRunner.h"
#include "res/resource.h"
#include "ui/MainWindow.h"

void SetDefaultSettings(bool useRegistry) {
    Settings = SettingsRecord{};
    Settings.UseRegistry = useRegistry;
    Settings.GetFileOnStart = true;
    Settings.StartInTopMost = true;
    Settings.WindowOpacity = 255;
    Settings.SameFileColor = 0xFFF0E1;
    Settings.SameHashColor = 0xE1FFE1;
    Settings.DiffHashColor = 0xDCDCFF;
    Settings.MultipleFiles = 1;
}

void MainWindowTest::SetUp() {
    savedSettings_ = Settings;
    memcpy(savedIniPath_, IniPath, MAX_PATH);
    savedModule_ = ResourceModule;
    ResolveOptionalFunctions();
    ResourceModule.own = GetModuleHandleA(nullptr);
    ResourceModule.custom = nullptr;
    SetDefaultSettings(false);
    lstrcpynA(IniPath, IniFile().c_str(), MAX_PATH);
    JobState = Idle;
    RecreateMainWindow();
}

void MainWindowTest::TearDown() {
    DestroyMainWindow();
    JobState = Idle;
    Settings = savedSettings_;
    memcpy(IniPath, savedIniPath_, MAX_PATH);
    ResourceModule = savedModule_;
}

void MainWindowTest::RecreateMainWindow() {
    DestroyMainWindow();
    main_ = CreateModuleDialog(MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc);
    ASSERT_NE(main_, nullptr);
    ShowWindow(main_, SW_SHOW);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }));
}

void MainWindowTest::DestroyMainWindow() {
    if (!main_)
        return;
    DestroyWindow(main_);
    main_ = nullptr;
    // The window ends the message loop it expects; no later loop must see that.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

namespace {

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM param) {
    OwnedSearch* search = (OwnedSearch*)param;
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0 && GetWindow(window, GW_OWNER) == search->owner &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindOwnedDialog(HWND owner) {
    OwnedSearch search = {owner, nullptr};
    EnumWindows(FindOwned, (LPARAM)&search);
    return search.found;
}

}  // namespace

HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindOwnedDialog(owner)) != nullptr; }, timeoutMs);
    return dialog;
}

INT_PTR RunModal(HWND owner, const std::function<INT_PTR()>& open,
                 const std::function<void(HWND dialog)>& drive, bool* found) {
    std::atomic<bool> returned(false);
    std::atomic<bool> driven(false);
    bool appeared = false;
    std::thread driver([&] {
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindOwnedDialog(owner)) != nullptr || returned; });
        if (dialog) {
            appeared = true;
            drive(dialog);
            if (IsWindow(dialog))
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        driven = true;
    });
    INT_PTR result = open();
    returned = true;
    // The driver may still talk to this thread's windows: keep pumping.
    WaitUntil([&] { return driven.load(); }, 60000);
    driver.join();
    if (found)
        *found = appeared;
    return result;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void PostKey(HWND window, UINT virtualKey) {
    LPARAM scan = (LPARAM)MapVirtualKeyA(virtualKey, 0) << 16;
    PostMessageA(window, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageA(window, WM_KEYUP, virtualKey, scan | 1 | 0xC0000000);
}

namespace {

INPUT MouseInput(POINT screen, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

}  // namespace

void MovePointer(POINT screen) {
    INPUT input = MouseInput(screen, 0);
    SendInput(1, &input, sizeof input);
}

void ClickPointer(POINT screen) {
    INPUT inputs[3] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                       MouseInput(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(3, inputs, sizeof inputs[0]);
}

RegistryValuesGuard::RegistryValuesGuard(HKEY root, const std::string& path,
                                         std::vector<std::string> names)
    : root_(root), path_(path) {
    // Which keys along the path are missing, deepest first.
    for (size_t end = 0; end != std::string::npos;) {
        end = path.find('\\', end + 1);
        std::string prefix = path.substr(0, end);
        HKEY key;
        if (RegOpenKeyExA(root, prefix.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
            RegCloseKey(key);
        else
            missingKeys_.insert(missingKeys_.begin(), prefix);
    }
    HKEY key = nullptr;
    RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key);
    for (const std::string& name : names) {
        Value value = {name, false, 0, {}};
        DWORD size = 0;
        if (key && RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size) ==
                       ERROR_SUCCESS) {
            value.data.resize(size);
            value.existed = RegQueryValueExA(key, name.c_str(), nullptr, &value.type,
                                             value.data.data(), &size) == ERROR_SUCCESS;
        }
        values_.push_back(value);
    }
    if (key)
        RegCloseKey(key);
}

RegistryValuesGuard::~RegistryValuesGuard() {
    HKEY key;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        for (const Value& value : values_) {
            if (value.existed)
                RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                               (DWORD)value.data.size());
            else
                RegDeleteValueA(key, value.name.c_str());
        }
        RegCloseKey(key);
    }
    for (const std::string& missing : missingKeys_)
        RegDeleteKeyA(root_, missing.c_str());
}
