#include "jobs/JobStatus.h"

#include "app/OptionalFunctions.h"
#include "jobs/JobRunner.h"
#include "ui/MainWindow.h"
#include "ui/StatusButton.h"

namespace {

constexpr UINT kFlashCount = 4;

} // namespace

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
