// The create job: every file below a folder hashed into a new checksum list,
// each shown in the list window as it is added.
#pragma once

#include <windows.h>

constexpr const char* kListingFormat = "[  Listing %d of %d  ]";
constexpr const char* kListWriteFailure = "Could not write checksum list: %s\n\n%s";
constexpr const char* kNoFilesFormat = "%s holds no files to list.";

// Queues a job listing the files below folder into the list file target
// (both full paths); false when it was dropped.
bool StartCreateListJob(const char* folder, const char* target);
// Worker routine of the job.
DWORD WINAPI CreateListThread(LPVOID jobPath);
