// The verify job: every file of a checksum list hashed in list order, the
// results going into the list window.
#pragma once

#include <windows.h>

// Blocks read from each file: large, so that many big files cost few calls.
constexpr DWORD kVerifyBlockSize = 1024 * 1024;

constexpr const char* kListReadFailure = "Could not read checksum list: %s\n\n%s";
constexpr const char* kNoEntriesFormat = "No MD5 checksum lines found in %s";
constexpr const char* kVerifyingFormat = "[  Verifying %d of %d  ]";

// Queues a job verifying the list at path; false when it was dropped.
bool StartVerifyJob(const char* path);
// Worker routine of the job.
DWORD WINAPI VerifyListThread(LPVOID jobPath);
