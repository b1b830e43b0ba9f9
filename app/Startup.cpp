#include "app/Startup.h"

#include <string>

#include "system/AnsiPath.h"
#include "system/Settings.h"
#include "jobs/JobStatus.h"
#include "system/CommandLineScan.h"
#include "ui/ListWindow.h"

namespace {

constexpr DWORD kFindPauseMs = 100;
constexpr const char* kOverlongIniFormat = "Could not use the settings file: %s\n\n%s";
constexpr const char* kOverlongModuleFormat = "Could not load the resource module: %s\n\n%s";
constexpr int kLostFilesNamed = 10;
constexpr const char* kLostFilesText =
    "Calverin is running but did not show its window, so these files were not handed to "
    "it and not hashed:\n";
constexpr const char* kMoreLostFilesFormat = "\nand %d more";

struct LostFiles {
    std::string names;
    int count;
};

void AddLostFile(const char* path, void* context) {
    LostFiles* lost = static_cast<LostFiles*>(context);
    if (++lost->count > kLostFilesNamed)
        return;
    lost->names += '\n';
    lost->names += path;
}

void ShowLostFiles(const char* commandLine) {
    LostFiles lost = {std::string(), 0};
    if (ScanCommandLine(commandLine, AddLostFile, &lost) == 0)
        return;
    std::string text = kLostFilesText + lost.names;
    if (lost.count > kLostFilesNamed) {
        char more[32];
        wsprintfA(more, kMoreLostFilesFormat, lost.count - kLostFilesNamed);
        text += more;
    }
    ShowMessageBox(nullptr, text.c_str(), kLostFilesCaption,
                   MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

// The first instance's main window once it appears within waitMs, or null;
// *gone when the first instance ended meanwhile: this process then holds a
// new mutex, or none when creating it failed, and runs as the first.
HWND WaitForMainWindow(HANDLE* mutex, DWORD waitMs, bool* gone) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND target = FindMainWindow();
        if (target && IsWindow(target))
            return target;
        // This process's own handle keeps the mutex alive: only a new one
        // tells whether the first instance still holds it.
        CloseHandle(*mutex);
        *mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
        if (!*mutex || GetLastError() != ERROR_ALREADY_EXISTS) {
            *gone = true;
            return nullptr;
        }
        if (GetTickCount() - start >= waitMs)
            return nullptr;
        Sleep(kFindPauseMs);
    }
}

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

int HandOffToFirstInstance(HINSTANCE instance, const char* commandLine, HANDLE* mutex,
                           DWORD waitMs) {
    const bool named = commandLine && commandLine[0] != '\0';
    bool gone = false;
    HWND target = WaitForMainWindow(mutex, waitMs, &gone);
    if (gone)
        return kRunAsFirstInstance;
    if (!target) {
        if (named)
            ShowLostFiles(commandLine);
        return kExitNoHandOff;
    }
    SetForegroundWindow(target);
    if (!named)
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
        // The list window's keys are its own: Up, Down and Enter there must
        // not expand, collapse or press Open.
        if (HandleListWindowMessage(&message))
            continue;
        if (TranslateAcceleratorA(mainWindow, accelerators, &message))
            continue;
        if (IsDialogMessageA(mainWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
