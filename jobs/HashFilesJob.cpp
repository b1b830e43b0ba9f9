#include "jobs/HashFilesJob.h"

#include <atomic>

#include "engine/Hashing.h"
#include "engine/Md5.h"
#include "system/FileFacts.h"
#include "system/Redirection.h"
#include "system/Settings.h"
#include "system/WidePath.h"
#include "jobs/HashBatch.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"
#include "res/resource.h"

namespace {

constexpr const char* kProgressCountFormat = "[  Calculating checksum %d of %d  ]";
constexpr const char* kNextFileText = "Calculate next checksum >>>";

// Whether a hash job holds the slot and so the status line: JobState alone
// cannot tell, since the benchmark hashes too, and one started between two
// files of a batch shows its own text.
std::atomic<bool> HashJobHoldsSlot{false};

// How often at most the user-interface thread redraws a growing count.
constexpr DWORD kCountInterval = 250;
DWORD LastCountShown; // user-interface thread only

void ShowCountedProgress(HWND status, BatchCount count) {
    char text[64];
    wsprintfA(text, kProgressCountFormat, (int)count.started, (int)count.queued);
    SetWindowTextA(status, text);
}

bool SameCount(BatchCount a, BatchCount b) {
    return a.started == b.started && a.queued == b.queued;
}

// The progress text of the file that just started. Files arrive on the
// user-interface thread, which shows their count at once, while a text sent
// from here lands only when that thread gets to it, perhaps after a newer
// count: it is sent again until the count held still meanwhile.
void ShowStartedProgress(HWND status, BatchCount count) {
    for (;;) {
        if (count.queued < 2)
            SetWindowTextA(status, kCalculatingText);
        else
            ShowCountedProgress(status, count);
        BatchCount now = ReadBatchCount();
        if (SameCount(now, count))
            return;
        count = now;
    }
}

// Puts the checksum into its field; true when the batch stops after it.
bool StoreChecksum(HWND window, const char* checksum, const char* path) {
    HWND hash1 = GetDlgItem(window, IDC_HASH1);
    // Field 2 when the window is expanded and field 1 holds a whole checksum.
    bool intoField2 = IsField2Shown(window) && GetWindowTextLengthA(hash1) == kChecksumLength;
    PutChecksum(window, intoField2 ? 1 : 0, checksum, path);
    BatchCount count = ReadBatchCount();
    bool matches = lstrcmpiA(FieldRecord(0).hash, FieldRecord(1).hash) == 0;
    return StopsAfterFile(BatchStopRuleOf(Settings.MultipleFiles), intoField2, count.started,
                          count.queued, matches);
}

// A failed file's report; within a batch with files to come, its Cancel
// stops them all.
void ReportFailure(HWND window, const char* path) {
    const DWORD error = GetLastError();
    BatchCount count = ReadBatchCount();
    SetLastError(error);
    if (count.started >= count.queued) {
        ShowErrorReport(window, kHashFailureFormat, path);
        return;
    }
    if (ShowErrorReport(window, kBatchFailureFormat, path, MB_OKCANCEL) == IDCANCEL)
        BatchEpoch.fetch_add(1);
}

// The job body. Returns true when it left the batch stopped for the user
// (NextPending); the caller must not read JobState for that, because a click
// may already have moved it on. epoch: the batch the file belongs to.
bool RunHashJob(HWND window, const char* text, bool fileMode, LONG epoch) {
    HWND status = GetDlgItem(window, IDC_STATUS);
    HWND open = GetDlgItem(window, IDC_OPEN);

    HashJobHoldsSlot = true;
    JobState = Hashing;
    BatchCount count = CountFileStarted();
    EnableWindow(open, FALSE);
    EnableWindow(status, TRUE);
    ShowStartedProgress(status, count);
    SetStatusBusy(status, true);

    char* checksum = nullptr;
    if (fileMode) {
        RedirectionOff off;
        checksum = HashFile(text, JobCancelled);
    } else {
        checksum = HashString(text);
    }
    bool stop = false;
    if (checksum != nullptr) {
        stop = StoreChecksum(window, checksum, fileMode ? text : nullptr);
        FreeChecksum(checksum);
    } else if (fileMode && IsJobActive()) {
        // Nothing may run between the failed hash and the report, which reads
        // the system's last error first.
        ReportFailure(window, text);
    }

    HashJobHoldsSlot = false;
    if (stop && epoch == BatchEpoch.load()) {
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

} // namespace

void HashJob(HWND mainWindow, const char* text, bool fileMode) {
    RunHashJob(mainWindow, text, fileMode, BatchEpoch.load());
}

void StopBatch() {
    BatchEpoch.fetch_add(1);
    const LONG state = JobState.load();
    if (!HashJobHoldsSlot && state != NextPending)
        return; // between files, or another job runs: the queued files go unrun
    HWND window = JobWindow();
    // The current file's job sees the cancel at its next chunk; the status
    // line is idle from now, since that chunk may be long in coming.
    ShowJobEnded(GetDlgItem(window, IDC_STATUS), GetDlgItem(window, IDC_OPEN));
    if (state == NextPending)
        ReleaseRunToken(); // the stopped batch held it
}

bool StartHashFileJob(const char* path) {
    bool queued = StartBatchJob(path, HashFileThread);
    // Drawn once per arrival, the count would cost more than the queueing of
    // a thousand paths: a growing batch shows it a few times a second, and
    // whoever hands over many paths shows the last count (ShowArrivedCount).
    const DWORD now = GetTickCount();
    if (now - LastCountShown >= kCountInterval)
        ShowArrivedCount();
    return queued;
}

void ShowArrivedCount() {
    LastCountShown = GetTickCount();
    // Counted on this thread, so a text set here at once is never older than
    // one a worker sends; a stopped batch keeps its "next" text, and another
    // job its own.
    BatchCount count = ReadBatchCount();
    if (JobWindow() && HashJobHoldsSlot && JobState == Hashing && count.started > 0 &&
        count.queued > 1)
        ShowCountedProgress(GetDlgItem(JobWindow(), IDC_STATUS), count);
}

DWORD WINAPI HashFileThread(LPVOID jobPath) {
    LONG epoch = 0;
    const std::string path = TakeBatchJobPath(jobPath, &epoch);
    if (!WaitForRunToken()) {
        CountDropped();
        return 0;
    }
    if (epoch != BatchEpoch.load()) {
        // Its batch was stopped: counted out, the slot passed on.
        CountDropped();
        ReleaseRunToken();
        return 0;
    }
    HWND window = JobWindow();
    bool stopped = RunHashJob(window, path.c_str(), true, epoch);
    bool ended = EndBatchIfDone();
    if (!stopped)
        ReleaseRunToken();
    if (!ended && !stopped)
        return 0;
    DrawAttention(window);
    return 0;
}
