// The benchmark: times the hashing of one file and reports it in a box.
#pragma once

#include <windows.h>

// Worker routine that StartJob runs for the file to measure.
DWORD WINAPI BenchmarkThread(LPVOID jobPath);
// The job body: path is shown as given.
void BenchmarkJob(HWND mainWindow, const char* path);
