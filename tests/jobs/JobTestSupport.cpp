#include "tests/jobs/JobTestSupport.h"

#include "system/Settings.h"
#include "jobs/JobRunner.h"
#include "jobs/SearchJob.h"
#include "tests/support/AppDriver.h"
#include "tests/support/TestSupport.h"
#include "ui/Comparison.h"
#include "ui/MainWindow.h"

namespace {

const char kContinueText[] = "Continue searching >>>";

// Set when the watched job's worker has ended: the run token is then back.
HANDLE JobDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
LPTHREAD_START_ROUTINE WatchedRoutine;

DWORD WINAPI RunAndSignal(LPVOID jobPath) {
    DWORD result = WatchedRoutine(jobPath);
    SetEvent(JobDone);
    return result;
}

} // namespace

bool MakeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::string ShortUpper(const std::string& path) {
    char full[MAX_PATH] = "";
    char shortPath[MAX_PATH] = "";
    GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (!GetShortPathNameA(full, shortPath, MAX_PATH))
        lstrcpyA(shortPath, full);
    CharUpperA(shortPath);
    return shortPath;
}

void JobWindowTest::SetUp() {
    Settings.StartInFullMode = true;
    ASSERT_NE(CreateMain(), nullptr);
}

void JobWindowTest::TypeTarget(const std::string& checksum) {
    SetHashField(Hash1Field, &FieldInfo[0], checksum.c_str(), nullptr, false);
}

void JobWindowTest::TargetFromFile(const std::string& path, const std::string& bytes) {
    SetHashField(Hash1Field, &FieldInfo[0], ReferenceMd5(bytes).c_str(), path.c_str(), false);
}

void JobWindowTest::StartWatchedJob(const std::string& path, LPTHREAD_START_ROUTINE routine,
                                    SIZE_T stackReserve) {
    ResetEvent(JobDone);
    WatchedRoutine = routine;
    StartJob(path.c_str(), RunAndSignal, stackReserve);
    ReleaseRunToken();
}

void JobWindowTest::StartSearch(const std::string& folder) {
    SetWindowTextA(Hash2Field, "");
    StartWatchedJob(folder, SearchThread, kJobStackReserve);
}

bool JobWindowTest::WaitForJobEnd(DWORD timeoutMs) {
    // Taken back only once the worker is gone, so that no test races it for
    // the token.
    return WaitUntil([] { return WaitForSingleObject(JobDone, 0) == WAIT_OBJECT_0; }, timeoutMs) &&
           WaitForSingleObject(RunToken, 0) == WAIT_OBJECT_0;
}

SearchRun JobWindowTest::Search(const std::string& folder, DWORD timeoutMs) {
    SearchRun run;
    BoxCloser summary("Search finished - Calverin", timeoutMs);
    StartSearch(folder);
    for (;;) {
        bool ended = false;
        // Field 2 is emptied at every pause, so its text marks the next match:
        // the search sets it as the last step before it waits.
        bool stopped = WaitUntil(
            [&] {
                if (JobState.load() == SearchPaused && WindowText(StatusButton) == kContinueText &&
                    GetWindowTextLengthA(Hash2Field) > 0)
                    return true;
                ended = WaitForSingleObject(JobDone, 0) == WAIT_OBJECT_0;
                return ended;
            },
            timeoutMs);
        if (!stopped || ended)
            break;
        SearchMatch match;
        match.status = WindowText(StatusButton);
        match.statusEnabled = IsWindowEnabled(StatusButton) != FALSE;
        match.openEnabled = IsWindowEnabled(OpenButton) != FALSE;
        match.field2 = WindowText(Hash2Field);
        match.openText = WindowText(OpenButton);
        match.infoPath = FieldInfo[1].path;
        CharUpperA(&match.infoPath[0]);
        run.matches.push_back(match);
        SetWindowTextA(Hash2Field, "");
        SendMessageA(StatusButton, BM_CLICK, 0, 0); // go on
    }
    run.summary = summary.Stop();
    EXPECT_EQ(WaitForSingleObject(RunToken, 0), WAIT_OBJECT_0) << "the search gives the token back";
    return run;
}
