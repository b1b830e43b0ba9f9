#include "jobs/BenchmarkJob.h"

#include <cstdio>
#include <string>
#include <vector>

#include "engine/Hashing.h"
#include "engine/Md5.h"
#include "system/FileFacts.h"
#include "system/Redirection.h"
#include "system/WidePath.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"
#include "res/resource.h"

namespace {

constexpr const char* kResultFormat =
    "MD5 Benchmark results for file:\n%s\n\nMD5 hash: %s\nFile Size: %s\nMD5 created in: %d ms";
constexpr const char* kResultTitle = "Calverin - Benchmark";
constexpr int kSizeTextSize = 64;

} // namespace

void BenchmarkJob(HWND mainWindow, const char* path) {
    JobState.store(Hashing);
    char sizeText[kSizeTextSize] = "";

    HWND status = GetDlgItem(mainWindow, IDC_STATUS);
    HWND open = GetDlgItem(mainWindow, IDC_OPEN);
    ShowJobStarted(status, open, kCalculatingText);

    const DWORD start = GetTickCount();
    char* checksum = nullptr;
    {
        RedirectionOff off;
        checksum = HashFile(path, JobCancelled);
    }
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
    {
        RedirectionOff off; // back on before the box below
        if (QueryFileSize(path, &sizeLow, &sizeHigh))
            FormatFileSize(sizeText, sizeLow, sizeHigh);
    }

    // Sized to what it holds, so that a long path is shown whole.
    const int elapsed = static_cast<int>(finish - start);
    std::vector<char> message(
        snprintf(nullptr, 0, kResultFormat, path, checksum, sizeText, elapsed) + 1);
    snprintf(message.data(), message.size(), kResultFormat, path, checksum, sizeText, elapsed);
    FreeChecksum(checksum);
    ShowMessageBox(mainWindow, message.data(), kResultTitle, MB_OK);
}

DWORD WINAPI BenchmarkThread(LPVOID jobPath) {
    const std::string path = TakeJobPath(jobPath);
    if (!WaitForRunToken())
        return 0;
    BenchmarkJob(JobWindow(), path.c_str());
    ReleaseRunToken();
    return 0;
}
