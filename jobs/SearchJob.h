// The checksum search: walks a folder tree for files whose checksum equals
// the one in field 1, pausing at every match.
#pragma once

#include <windows.h>

#include <atomic>

#include "system/WidePath.h"

// Counters of the running or the last search, set to 0 when a search starts.
// Exported for the tests and the benchmark only.
extern std::atomic<DWORD> FilesSearched; // every file entry met
extern std::atomic<DWORD> FilesRead;     // files handed to HashFile

// Folders below this many levels (the chosen folder is level 1) are reported
// as too deep rather than entered: each level holds a frame of the worker's
// stack, which must keep room for a box shown at the bottom.
constexpr int kDeepestSearchLevel = 256;

// How the search lists a folder: FindFirstFileW, unless a test puts in a
// listing that its file system cannot give.
extern FolderListing::FindFirst SearchFindFirst;

// Worker routine that StartJob runs for the folder to search.
DWORD WINAPI SearchThread(LPVOID jobPath);
