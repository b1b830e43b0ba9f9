#include "jobs/SearchJob.h"

#include <cstring>
#include <memory>
#include <string>

#include "engine/Hashing.h"
#include "engine/Md5.h"
#include "system/FileFacts.h"
#include "system/Redirection.h"
#include "system/ScopedHandle.h"
#include "system/WidePath.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"
#include "res/resource.h"

std::atomic<DWORD> FilesSearched{0};
std::atomic<DWORD> FilesRead{0};
FolderListing::FindFirst SearchFindFirst = FindFirstFileW;

namespace {

// Matches of the running or the last search.
std::atomic<LONG> FilesFound{0};

constexpr const char* kSearchingText = "[  Searching checksum  ]";
constexpr const char* kContinueText = "Continue searching >>>";
constexpr const char* kListingFailure = "Could not search directory: %s\n\n%s";
constexpr const char* kSummaryFormat =
    "Searched %u files, found %d file(s) with a matching MD5 checksum.";
constexpr const char* kSummaryTitle = "Search finished - Calverin";

// State of the one running search (jobs run one at a time).
// The target is copied when the search starts: field 1 may change while the
// search waits at a match, and the worker must not read it half-written.
HashFieldInfo Target;
bool StopRequested;

bool HasFileFacts(const HashFieldInfo& info) {
    return IsFactKnown(info.sizeLow, info.sizeHigh) &&
           IsFactKnown(info.modified.dwLowDateTime, info.modified.dwHighDateTime) &&
           info.path[0] != '\0';
}

// A folder as the file system knows it, whatever path or link leads to it.
struct FolderIdentity {
    bool known;
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
    const FolderIdentity* parent; // the folder the search came from; null at the top
};

FolderIdentity IdentifyFolder(const char* folder, const FolderIdentity* parent) {
    FolderIdentity identity = {false, 0, 0, 0, parent};
    ScopedFile handle = OpenPath(folder, FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    BY_HANDLE_FILE_INFORMATION info;
    if (handle && GetFileInformationByHandle(handle.Get(), &info))
        identity = {true, info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow,
                    parent};
    return identity;
}

// A link back to a folder the search is inside would lead it round and round.
bool IsOwnAncestor(const FolderIdentity& folder) {
    if (!folder.known)
        return false;
    for (const FolderIdentity* above = folder.parent; above; above = above->parent) {
        if (above->known && above->volume == folder.volume &&
            above->indexHigh == folder.indexHigh && above->indexLow == folder.indexLow)
            return true;
    }
    return false;
}

// Shows the match in field 2 and waits until the user goes on.
void PauseAtMatch(HWND mainWindow, const char* path, const char* checksum) {
    FilesFound.fetch_add(1);
    std::string display;
    {
        RedirectionOff off;
        display = ToLongPath(path);
    }

    HWND status = GetDlgItem(mainWindow, IDC_STATUS);
    // A click left over from an earlier pause must not skip this one.
    ResetEvent(SearchContinue);
    JobState.store(SearchPaused);
    SetStatusBusy(status, false);
    SetWindowTextA(status, kContinueText);
    SendMessageA(status, WM_CANCELMODE, 0, 0);

    PutChecksum(mainWindow, 1, checksum, display.c_str());
    UpdateWindow(mainWindow);
    MessageBeep(MB_ICONASTERISK);
    if (GetForegroundWindow() != mainWindow)
        FlashBriefly(mainWindow);

    // A failed wait leaves SearchPaused, which the stop check then ends.
    if (WaitForSingleObject(SearchContinue, INFINITE) != WAIT_OBJECT_0)
        return;
    JobState.store(Searching);
    SendMessageA(status, WM_CANCELMODE, 0, 0);
    SetWindowTextA(status, kSearchingText);
    SetStatusBusy(status, true);
}

// A folder that cannot be listed; error is what the listing failed with.
void ReportListingFailure(HWND mainWindow, const char* folder, DWORD error) {
    std::string display;
    {
        RedirectionOff off;
        display = ToLongPath(folder);
    }
    if (display.empty())
        display = folder;
    SetLastError(error); // the long form's lookups must not change the report
    ShowErrorReport(mainWindow, kListingFailure, display.c_str());
}

// One file entry; path names it.
void SearchFile(HWND mainWindow, const char* path, const WIN32_FIND_DATAW& entry,
                bool sameFileFilter) {
    FilesSearched.fetch_add(1);
    if (sameFileFilter) {
        if (entry.nFileSizeLow != Target.sizeLow || entry.nFileSizeHigh != Target.sizeHigh)
            return;
        bool sameTime = entry.ftLastWriteTime.dwLowDateTime == Target.modified.dwLowDateTime &&
                        entry.ftLastWriteTime.dwHighDateTime == Target.modified.dwHighDateTime;
        if (sameTime && lstrcmpiA(path, Target.path) == 0)
            return; // the very file of field 1
    }
    FilesRead.fetch_add(1);
    char* checksum = nullptr;
    {
        RedirectionOff off;
        checksum = HashFile(path, JobCancelled);
    }
    if (!checksum)
        return; // unreadable files are passed over in silence
    if (lstrcmpiA(checksum, Target.hash) == 0)
        PauseAtMatch(mainWindow, path, checksum);
    FreeChecksum(checksum);
}

void SearchFolder(HWND mainWindow, std::string& path, bool topLevel, bool sameFileFilter,
                  const FolderIdentity* parent, int level);

// The part of SearchFolder that every level runs: list, descend, hash.
// parent: the folders the search is inside, from this one's parent up.
void SearchLevel(HWND mainWindow, std::string& path, bool topLevel, bool sameFileFilter,
                 const FolderIdentity* parent, int level) {
    size_t end = path.size();
    while (end > 0 && path[end - 1] == '\\')
        --end;
    const size_t cut = end;

    FolderIdentity folder = {false, 0, 0, 0, parent};
    DWORD error = ERROR_FILENAME_EXCED_RANGE;
    std::unique_ptr<FolderListing> listing;
    if (level <= kDeepestSearchLevel) {
        RedirectionOff off;
        // With its backslash the folder's path also names a drive root.
        path.resize(cut);
        path += '\\';
        folder = IdentifyFolder(path.c_str(), parent);
        if (IsOwnAncestor(folder)) {
            path.resize(cut);
            return;
        }
        listing = std::make_unique<FolderListing>(path.c_str(), SearchFindFirst);
        error = listing->Error();
    }
    path.resize(cut);
    if (!listing || !*listing) {
        // A drive root has no "." and ".." entries, so an empty one lists as
        // not found: an empty folder.
        if (error == ERROR_FILE_NOT_FOUND)
            return;
        if (!topLevel && error == ERROR_ACCESS_DENIED)
            return;
        ReportListingFailure(mainWindow, path.c_str(), error);
        if (topLevel)
            StopRequested = true;
        return;
    }

    do {
        const WIN32_FIND_DATAW& entry = listing->Entry();
        if (lstrcmpW(entry.cFileName, L".") == 0 || lstrcmpW(entry.cFileName, L"..") == 0)
            continue;
        const std::string shortName = listing->ShortName();
        path += '\\';
        path += shortName.empty() ? listing->Name() : shortName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            SearchFolder(mainWindow, path, false, sameFileFilter, &folder, level + 1);
        else
            SearchFile(mainWindow, path.c_str(), entry, sameFileFilter);
        path.resize(cut);
        if (JobState.load() != Searching)
            StopRequested = true;
    } while (!StopRequested && listing->Next());
    path.resize(cut);
}

// Searches the folder in path (extended and cut back in place) and everything
// below it; level counts the folders from the chosen one (1). At the top level it works out the
// same-file filter itself, prepares and restores the main window and shows the summary. On return
// path holds the folder it was given, less trailing backslashes.
void SearchFolder(HWND mainWindow, std::string& path, bool topLevel, bool sameFileFilter,
                  const FolderIdentity* parent, int level) {
    if (!topLevel) {
        SearchLevel(mainWindow, path, false, sameFileFilter, parent, level);
        return;
    }

    Target = FieldRecord(0);
    Target.hash[sizeof Target.hash - 1] = '\0';
    Target.path[sizeof Target.path - 1] = '\0';
    sameFileFilter = HasFileFacts(Target);

    JobState.store(Searching);
    {
        RedirectionOff off;
        std::string shortForm = ShortPath(path.c_str());
        if (!shortForm.empty())
            path = shortForm;
    }

    HWND status = GetDlgItem(mainWindow, IDC_STATUS);
    HWND open = GetDlgItem(mainWindow, IDC_OPEN);
    ShowJobStarted(status, open, kSearchingText);

    StopRequested = false;
    FilesSearched.store(0);
    FilesFound.store(0);
    FilesRead.store(0);

    SearchLevel(mainWindow, path, true, sameFileFilter, nullptr, 1);
    ShowJobEnded(status, open);

    if (StopRequested)
        return;
    char summary[160];
    wsprintfA(summary, kSummaryFormat, static_cast<unsigned>(FilesSearched.load()),
              static_cast<int>(FilesFound.load()));
    MessageBoxA(mainWindow, summary, kSummaryTitle, MB_ICONINFORMATION);
}

} // namespace

DWORD WINAPI SearchThread(LPVOID jobPath) {
    std::string path = TakeJobPath(jobPath);
    if (!WaitForRunToken())
        return 0;
    SearchFolder(JobWindow(), path, true, false, nullptr, 1);
    ReleaseRunToken();
    return 0;
}
