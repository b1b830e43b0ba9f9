// The hash-files job: checksums of queued files (or a string) into the fields.
#pragma once

#include <windows.h>

// Queues a file to hash into the batch (user-interface thread) and shows the
// batch's new count; false when the job was dropped.
bool StartHashFileJob(const char* path);
// Worker routine of every file to hash.
DWORD WINAPI HashFileThread(LPVOID jobPath);
// The job body; in string mode text is the string to hash (user-interface thread).
void HashJob(HWND mainWindow, const char* text, bool fileMode);
