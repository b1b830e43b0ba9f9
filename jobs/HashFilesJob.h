// The hash-files job: checksums of queued files (or a string) into the fields.
#pragma once

#include <windows.h>

// Worker routine that StartJob runs for every file to hash.
DWORD WINAPI HashFileThread(LPVOID jobPath);
// The job body; in string mode text is the string to hash (user-interface thread).
void HashJob(HWND mainWindow, const char* text, bool fileMode);
