// The user interface's side of what the jobs show and report.
#include "jobs/JobStatus.h"

#include <cstdio>
#include <string>
#include <vector>

#include "system/ErrorText.h"
#include "system/OptionalFunctions.h"
#include "jobs/JobRunner.h"
#include "ui/Comparison.h"
#include "ui/ListWindow.h"
#include "ui/MainWindow.h"
#include "ui/StatusButton.h"
#include "res/resource.h"

namespace {

constexpr UINT kFlashCount = 4;
constexpr char kErrorTitle[] = "Error";

// Text for the eye: bytes that are no character of the code page show as
// replacement characters rather than hide the rest.
std::wstring Displayed(const char* text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::vector<wchar_t> wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    return wide.data();
}

} // namespace

HWND JobWindow() {
    return MainWindow;
}

void ShowJobStarted(HWND status, HWND open, const char* text) {
    EnableWindow(open, FALSE);
    EnableWindow(status, TRUE);
    SetWindowTextA(status, text);
    SetStatusBusy(status, true);
}

void SetStatusBusy(HWND status, bool busy) {
    SendMessageA(status, UM_STATUS_BUSY, 1, busy ? 1 : 0);
}

void ShowJobEnded(HWND status, HWND open) {
    SetStatusBusy(status, false);
    SetWindowTextA(status, kProgramName);
    EnableWindow(status, FALSE);
    SendMessageA(status, WM_CANCELMODE, 0, 0);
    // Idle before Open is enabled: a click on the enabled button must not
    // meet a job that is still ending.
    JobState.store(Idle);
    EnableWindow(open, TRUE);
}

void FlashBriefly(HWND window) {
    FLASHWINFO flash = {};
    flash.cbSize = sizeof flash;
    flash.hwnd = window;
    flash.dwFlags = FLASHW_ALL | FLASHW_TIMERNOFG;
    flash.uCount = kFlashCount;
    flash.dwTimeout = 0;
    if (HasFlashWindowEx())
        OptFlashWindowEx(&flash);
    else
        FlashWindow(window, TRUE);
}

void OpenJobListWindow(const std::shared_ptr<ListTable>& table) {
    if (MainWindow)
        SendMessageA(MainWindow, UM_OPEN_LIST, 0, reinterpret_cast<LPARAM>(&table));
}

bool IsField2Shown(HWND window) {
    // Its own style bit: IsWindowVisible would also ask the window's.
    return (GetWindowLongA(GetDlgItem(window, IDC_HASH2), GWL_STYLE) & WS_VISIBLE) != 0;
}

void PutChecksum(HWND window, int field, const char* checksum, const char* path) {
    HWND control = GetDlgItem(window, field == 0 ? IDC_HASH1 : IDC_HASH2);
    SetHashField(control, &FieldInfo[field], checksum, path, false);
}

const HashFieldInfo& FieldRecord(int field) {
    return FieldInfo[field];
}

int ShowErrorReport(HWND owner, const char* format, const char* argument, UINT buttons) {
    const std::string systemText = ErrorText(GetLastError());
    // Sized to what it holds: a path of up to a job's 1023 characters must be
    // shown whole, with the system's text after it.
    int size = std::snprintf(nullptr, 0, format, argument, systemText.c_str()) + 1;
    if (size <= 0)
        return 0;
    std::vector<char> report(size);
    std::snprintf(report.data(), report.size(), format, argument, systemText.c_str());
    return ShowMessageBox(owner, report.data(), kErrorTitle, MB_ICONERROR | buttons);
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxW(owner, Displayed(text).c_str(), Displayed(caption).c_str(), type);
}
