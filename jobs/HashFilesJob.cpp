// Stand-in for the hash-files job until it is built: every file handed to it
// takes its turn in the job slot and is reported as not hashed, so no road
// into the program pretends to produce a checksum.
#include "jobs/HashFilesJob.h"

#include "jobs/FileFacts.h"
#include "jobs/JobRunner.h"
#include "ui/MainWindow.h"

DWORD WINAPI HashFileThread(LPVOID jobPath) {
    char path[kJobPathSize];
    TakeJobPath(jobPath, path);
    if (!WaitForRunToken())
        return 0;
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    ShowErrorReport(MainWindow, "Could not hash file: %s\n\n%s", path);
    ReleaseRunToken();
    return 0;
}
