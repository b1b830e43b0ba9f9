#include "app/Startup.h"

#include <string>

#include "system/AnsiPath.h"
#include "system/Settings.h"
#include "jobs/JobStatus.h"

namespace {

constexpr int kFindAttempts = 30;
constexpr DWORD kFindPauseMs = 100;
constexpr const char* kOverlongIniFormat = "Could not use the settings file: %s\n\n%s";
constexpr const char* kOverlongModuleFormat = "Could not load the resource module: %s\n\n%s";

BOOL CALLBACK MatchMarkedWindow(HWND window, LPARAM found) {
    if (!GetPropA(window, kMainWindowMark) || GetWindow(window, GW_OWNER))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

HWND FindMainWindow() {
    HWND candidate = nullptr;
    while ((candidate = FindWindowExA(nullptr, candidate, kMainWindowClass, kProgramName))) {
        if (!GetWindow(candidate, GW_OWNER))
            return candidate;
    }
    // A resource module may have given the main window another caption.
    HWND marked = nullptr;
    EnumWindows(MatchMarkedWindow, reinterpret_cast<LPARAM>(&marked));
    return marked;
}

int HandOffToFirstInstance(HINSTANCE instance, const char* commandLine) {
    HWND target = nullptr;
    for (int attempt = 0; attempt < kFindAttempts; ++attempt) {
        target = FindMainWindow();
        if (target && IsWindow(target))
            break;
        target = nullptr;
        Sleep(kFindPauseMs);
    }
    if (!target)
        return kExitNoHandOff;
    SetForegroundWindow(target);
    if (!commandLine || commandLine[0] == '\0')
        return kExitNoHandOff;
    // The running instance would resolve a relative path against its own
    // current folder and hash a namesake there.
    const std::string handed = FullPathsCommandLine(commandLine);
    COPYDATASTRUCT block = {};
    block.dwData = 0;
    block.cbData = (DWORD)handed.size() + 1;
    block.lpData = (PVOID)handed.c_str();
    // Returns once the first instance has queued every path.
    SendMessageA(target, WM_COPYDATA, (WPARAM)instance, (LPARAM)&block);
    return kExitNormal;
}

void ReportOverlongSettings(HWND mainWindow) {
    const struct {
        const char* format;
        const std::string& path;
    } reports[] = {{kOverlongIniFormat, OverlongIniPath},
                   {kOverlongModuleFormat, OverlongCustomUi}};
    for (const auto& report : reports) {
        if (report.path.empty())
            continue;
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        ShowErrorReport(mainWindow, report.format, report.path.c_str());
    }
}

void RunMessageLoop(HWND mainWindow, HACCEL accelerators) {
    MSG message;
    // -1 (an error) is taken like a message: the loop goes on.
    while (GetMessageA(&message, nullptr, 0, 0) != 0) {
        if (TranslateAcceleratorA(mainWindow, accelerators, &message))
            continue;
        if (IsDialogMessageA(mainWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
