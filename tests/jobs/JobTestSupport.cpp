#include "tests/jobs/JobTestSupport.h"

#include "app/Settings.h"
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

std::wstring LongForm(const std::string& path) {
    std::wstring wide(path.size(), L'\0');
    int length =
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), (int)path.size(), &wide[0], (int)wide.size());
    wide.resize(length);
    return L"\\\\?\\" + wide;
}

// Bottom-up removal through "\\?\" paths, which have no MAX_PATH limit.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(listing, &entry));
        FindClose(listing);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

std::string Text(HWND control) {
    char text[1024] = "";
    GetWindowTextA(control, text, sizeof text);
    return text;
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool MakeFolderLong(const std::string& path) {
    return CreateDirectoryW(LongForm(path).c_str(), nullptr) != 0;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
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

RootScratch::RootScratch() {
    static int counter;
    char name[32];
    wsprintfA(name, "C:\\cv%lx-%d", GetCurrentProcessId() & 0xFFFF, ++counter);
    path_ = name;
    RemoveTree(LongForm(path_)); // left over by a run that crashed
    CreateDirectoryA(path_.c_str(), nullptr);
}

RootScratch::~RootScratch() {
    RemoveTree(LongForm(path_));
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
    StartWatchedJob(folder, SearchThread, kSearchStackReserve);
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
                if (JobState.load() == SearchPaused && Text(StatusButton) == kContinueText &&
                    GetWindowTextLengthA(Hash2Field) > 0)
                    return true;
                ended = WaitForSingleObject(JobDone, 0) == WAIT_OBJECT_0;
                return ended;
            },
            timeoutMs);
        if (!stopped || ended)
            break;
        SearchMatch match;
        match.status = Text(StatusButton);
        match.statusEnabled = IsWindowEnabled(StatusButton) != FALSE;
        match.openEnabled = IsWindowEnabled(OpenButton) != FALSE;
        match.field2 = Text(Hash2Field);
        match.openText = Text(OpenButton);
        char path[MAX_PATH];
        lstrcpyA(path, FieldInfo[1].path);
        CharUpperA(path);
        match.infoPath = path;
        run.matches.push_back(match);
        SetWindowTextA(Hash2Field, "");
        SendMessageA(StatusButton, BM_CLICK, 0, 0); // go on
    }
    run.summary = summary.Stop();
    EXPECT_EQ(WaitForSingleObject(RunToken, 0), WAIT_OBJECT_0) << "the search gives the token back";
    return run;
}
