#include "jobs/HashFilesJob.h"

#include "app/Settings.h"
#include "engine/Hashing.h"
#include "engine/Md5.h"
#include "jobs/FileFacts.h"
#include "jobs/HashBatch.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"
#include "res/resource.h"
#include "ui/Comparison.h"
#include "ui/MainWindow.h"

namespace {

constexpr const char* kProgressCountFormat = "[  Calculating checksum %d of %d  ]";
constexpr const char* kNextFileText = "Calculate next checksum >>>";

void ShowCountedProgress(HWND status, BatchCount count) {
    char text[64];
    wsprintfA(text, kProgressCountFormat, (int)count.started, (int)count.queued);
    SetWindowTextA(status, text);
}

// Puts the checksum into its field; true when the batch stops after it.
bool StoreChecksum(HWND window, const char* checksum, const char* path) {
    HWND hash1 = GetDlgItem(window, IDC_HASH1);
    HWND hash2 = GetDlgItem(window, IDC_HASH2);
    // Field 2 when the window is expanded (field 2 shown, by its own style bit)
    // and field 1 holds a whole checksum.
    bool expanded = (GetWindowLongA(hash2, GWL_STYLE) & WS_VISIBLE) != 0;
    bool intoField2 = expanded && GetWindowTextLengthA(hash1) == kChecksumLength;
    if (intoField2)
        SetHashField(hash2, &FieldInfo[1], checksum, path, false);
    else
        SetHashField(hash1, &FieldInfo[0], checksum, path, false);
    BatchCount count = ReadBatchCount();
    bool matches = lstrcmpiA(FieldInfo[0].hash, FieldInfo[1].hash) == 0;
    return StopsAfterFile(BatchStopRuleOf(Settings.MultipleFiles), intoField2, count.started,
                          count.queued, matches);
}

// The job body. Returns true when it left the batch stopped for the user
// (NextPending); the caller must not read JobState for that, because a click
// may already have moved it on.
bool RunHashJob(HWND window, const char* text, bool fileMode) {
    HWND status = GetDlgItem(window, IDC_STATUS);
    HWND open = GetDlgItem(window, IDC_OPEN);

    JobState = Hashing;
    BatchCount count = CountFileStarted();
    EnableWindow(open, FALSE);
    EnableWindow(status, TRUE);
    if (count.queued < 2)
        SetWindowTextA(status, kCalculatingText);
    else
        ShowCountedProgress(status, count);
    SetStatusBusy(status, true);

    char* checksum = fileMode ? HashFile(text) : HashString(text);
    bool stop = false;
    if (checksum != nullptr) {
        stop = StoreChecksum(window, checksum, fileMode ? text : nullptr);
        FreeChecksum(checksum);
    } else if (fileMode && JobState != Idle) {
        // Nothing may run between the failed hash and the report, which reads
        // the system's last error first.
        ShowErrorReport(window, kHashFailureFormat, text);
    }

    if (stop) {
        SetStatusBusy(status, false);
        JobState = NextPending;
        SetWindowTextA(status, kNextFileText);
        SendMessageA(status, WM_CANCELMODE, 0, 0);
        return true;
    }
    ShowJobEnded(status, open);
    return false;
}

// The batch ended or stopped: tell a user who is looking elsewhere.
void DrawAttention(HWND window) {
    if (GetForegroundWindow() == window)
        return;
    MessageBeep(MB_ICONASTERISK);
    FlashBriefly(window);
}

}  // namespace

void HashJob(HWND mainWindow, const char* text, bool fileMode) {
    RunHashJob(mainWindow, text, fileMode);
}

DWORD WINAPI HashFileThread(LPVOID jobPath) {
    // Counted before the slot is freed, so arrivals are counted in order.
    CountArrival();
    char path[kJobPathSize];
    TakeJobPath(jobPath, path);

    // Let the count grow while a file of the batch is hashed. A stopped batch
    // keeps its "next" text, and another job (nothing started yet) its own.
    BatchCount count = ReadBatchCount();
    LONG state = JobState;
    if (count.queued > 1 && count.started > 0 && (state == Hashing || state == Idle)) {
        HWND status = GetDlgItem(MainWindow, IDC_STATUS);
        ShowCountedProgress(status, count);
        // The running file may have stopped the batch between the look and
        // the text; the stop's own text comes back.
        if (JobState == NextPending)
            SetWindowTextA(status, kNextFileText);
    }

    if (!WaitForRunToken())
        return 0;
    HWND window = MainWindow;
    bool stopped = RunHashJob(window, path, true);
    bool ended = EndBatchIfDone();
    if (!stopped)
        ReleaseRunToken();
    if (!ended && !stopped)
        return 0;
    DrawAttention(window);
    return 0;
}
