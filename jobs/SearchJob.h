// The checksum search: walks a folder tree for files whose checksum equals
// the one in field 1, pausing at every match.
#pragma once

#include <windows.h>

#include <atomic>

// Counters of the running or the last search, set to 0 when a search starts.
extern std::atomic<DWORD> FilesSearched; // every file entry met
extern std::atomic<LONG> FilesFound;     // matches
extern std::atomic<DWORD> FilesRead;     // files handed to HashFile

// How the search lists a folder: FindFirstFileA, unless a test puts in a
// listing that its file system cannot give.
extern HANDLE(WINAPI* SearchFindFirst)(LPCSTR pattern, LPWIN32_FIND_DATAA entry);

// Worker routine that StartJob runs for the folder to search.
DWORD WINAPI SearchThread(LPVOID jobPath);
