#include "jobs/BenchmarkJob.h"

#include <cstdio>

#include "engine/Hashing.h"
#include "engine/Md5.h"
#include "system/FileFacts.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"
#include "res/resource.h"

namespace {

constexpr const char* kResultFormat =
    "MD5 Benchmark results for file:\n%s\n\nMD5 hash: %s\nFile Size: %s\nMD5 created in: %d ms";
constexpr const char* kResultTitle = "Calverin - Benchmark";
constexpr int kSizeTextSize = 64;
constexpr int kMessageSize = 1024;

} // namespace

void BenchmarkJob(HWND mainWindow, const char* path) {
    JobState.store(Hashing);
    char sizeText[kSizeTextSize] = "";

    HWND status = GetDlgItem(mainWindow, IDC_STATUS);
    HWND open = GetDlgItem(mainWindow, IDC_OPEN);
    ShowJobStarted(status, open, kCalculatingText);

    const DWORD start = GetTickCount();
    char* checksum = HashFile(path, JobCancelled);
    const DWORD finish = GetTickCount();
    // Restoring the window below changes the last error; the report needs it.
    const DWORD error = GetLastError();
    const bool cancelled = JobState.load() == Idle;

    ShowJobEnded(status, open);

    if (!checksum) {
        if (!cancelled) {
            SetLastError(error);
            ShowErrorReport(mainWindow, kHashFailureFormat, path);
        }
        return;
    }

    DWORD sizeLow = 0;
    DWORD sizeHigh = 0;
    if (QueryFileSize(path, &sizeLow, &sizeHigh))
        FormatFileSize(sizeText, sizeLow, sizeHigh);

    char message[kMessageSize];
    snprintf(message, sizeof message, kResultFormat, path, checksum, sizeText,
             static_cast<int>(finish - start));
    FreeChecksum(checksum);
    MessageBoxA(mainWindow, message, kResultTitle, MB_OK);
}

DWORD WINAPI BenchmarkThread(LPVOID jobPath) {
    char path[kJobPathSize];
    TakeJobPath(jobPath, path);
    if (!WaitForRunToken())
        return 0;
    BenchmarkJob(JobWindow(), path);
    ReleaseRunToken();
    return 0;
}
