// The hash-files job: checksums of queued files (or a string) into the fields.
#pragma once

#include <windows.h>

// Queues a file to hash into the batch (user-interface thread) and shows the
// batch's new count unless it was shown a moment ago; false when the job was
// dropped.
bool StartHashFileJob(const char* path);
// Shows the batch's count as it is now: after the last of many arrivals.
void ShowArrivedCount();
// "Stop all files" (user-interface thread): cancels the batch's current file
// and counts out, unrun and without a box, every file of it still queued;
// files that arrive later and other jobs are not affected.
void StopBatch();
// Worker routine of every file to hash.
DWORD WINAPI HashFileThread(LPVOID jobPath);
// The job body; in string mode text is the string to hash (user-interface thread).
void HashJob(HWND mainWindow, const char* text, bool fileMode);
