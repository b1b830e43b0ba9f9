// Times the checksum search over a folder tree with the main dialog made in
// this process, as the program runs it: prints the files met, the files read,
// the bytes read and the best time of a few runs.
// Usage: calverin_searchbench FOLDER typed [RUNS]
//        calverin_searchbench FOLDER FILE [RUNS]   (field 1 from FILE)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "system/OptionalFunctions.h"
#include "ui/ResourceModule.h"
#include "system/Settings.h"
#include "engine/Hashing.h"
#include "engine/Md5.h"
#include "jobs/JobRunner.h"
#include "jobs/SearchJob.h"
#include "res/resource.h"
#include "ui/Comparison.h"
#include "ui/MainWindow.h"

namespace {

// No file of a benchmark tree holds these bytes, so the search never pauses.
const char kAbsent[] = "calverin search benchmark: no file holds this";

struct Found {
    HWND box;
};

BOOL CALLBACK FindSummary(HWND window, LPARAM param) {
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && lstrcmpA(caption, "Search finished - Calverin") == 0) {
        reinterpret_cast<Found*>(param)->box = window;
        return FALSE;
    }
    return TRUE;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Runs one search and returns its seconds: from handing over the run token to
// the search's end (JobState back at Idle, right before its summary).
double RunSearch(const char* folder) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    StartJob(folder, SearchThread);
    QueryPerformanceCounter(&start);
    ReleaseRunToken();
    bool started = false;
    for (;;) {
        Pump();
        LONG state = JobState.load();
        if (state != Idle)
            started = true;
        Found found = {nullptr};
        if (!started) // a search too quick to be seen running
            EnumWindows(FindSummary, reinterpret_cast<LPARAM>(&found));
        if ((started && state == Idle) || found.box) {
            QueryPerformanceCounter(&end);
            // Close the summary so that the worker gives the token back.
            while (!found.box) {
                Pump();
                EnumWindows(FindSummary, reinterpret_cast<LPARAM>(&found));
            }
            PostMessageA(found.box, WM_COMMAND, IDOK, 0);
            while (WaitForSingleObject(RunToken, 0) != WAIT_OBJECT_0)
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT), Pump();
            return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: calverin_searchbench FOLDER typed|FILE [RUNS]\n");
        return 2;
    }
    const char* folder = argv[1];
    const char* target = argv[2];
    int runs = argc > 3 ? atoi(argv[3]) : 3;

    InitCommonControls();
    ResolveOptionalFunctions();
    CreateJobEvents();
    ResourceModule.own = GetModuleHandleA(nullptr);
    Settings.StartInFullMode = true;
    Settings.WindowOpacity = 255;
    HWND window = CreateModuleDialog(MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc);
    if (!window) {
        fprintf(stderr, "cannot create the main window\n");
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    Pump();

    if (lstrcmpA(target, "typed") == 0) {
        char* checksum = HashString(kAbsent);
        SetHashField(Hash1Field, &FieldInfo[0], checksum, nullptr, false);
        FreeChecksum(checksum);
    } else {
        // The target's checksum with its file facts, as after hashing it.
        JobState = Hashing;
        char* checksum = HashFile(target, JobCancelled);
        JobState = Idle;
        if (!checksum) {
            fprintf(stderr, "cannot hash %s (error %lu)\n", target, GetLastError());
            return 1;
        }
        SetHashField(Hash1Field, &FieldInfo[0], checksum, target, false);
        FreeChecksum(checksum);
    }

    double best = 0;
    for (int run = 0; run < runs; ++run) {
        double seconds = RunSearch(folder);
        if (run == 0 || seconds < best)
            best = seconds;
    }
    printf("%lu %lu %.6f\n", static_cast<unsigned long>(FilesSearched.load()),
           static_cast<unsigned long>(FilesRead.load()), best);
    DestroyWindow(window);
    return 0;
}
