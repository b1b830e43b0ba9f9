#include "tests/ui/DialogTestSupport.h"

#include <cstring>

#include "system/OptionalFunctions.h"
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

void DialogHostTest::SetUp() {
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

void DialogHostTest::TearDown() {
    DestroyMainWindow();
    JobState = Idle;
    Settings = savedSettings_;
    memcpy(IniPath, savedIniPath_, MAX_PATH);
    ResourceModule = savedModule_;
}

void DialogHostTest::RecreateMainWindow() {
    DestroyMainWindow();
    main_ = CreateModuleDialog(MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc);
    ASSERT_NE(main_, nullptr);
    ShowWindow(main_, SW_SHOW);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }));
}

void DialogHostTest::OpenByCommand(int command, const char* name,
                                   const std::function<void(HWND)>& drive) {
    bool found = false;
    RunModal(
        main_,
        [&] {
            SendMessageA(main_, WM_COMMAND, command, 0);
            return (INT_PTR)0;
        },
        drive, &found);
    EXPECT_TRUE(found) << "the " << name << " dialog did not open";
}

void DialogHostTest::DestroyMainWindow() {
    if (!main_)
        return;
    DestroyWindow(main_);
    main_ = nullptr;
    // The window ends the message loop it expects; no later loop must see that.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
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

} // namespace

void MovePointer(POINT screen) {
    INPUT input = MouseInput(screen, 0);
    SendInput(1, &input, sizeof input);
}

void ClickPointer(POINT screen) {
    INPUT inputs[3] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                       MouseInput(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(3, inputs, sizeof inputs[0]);
}
