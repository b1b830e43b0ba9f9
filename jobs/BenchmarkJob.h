// The benchmark: times the hashing of one file and reports it in a box.
#pragma once

#include <windows.h>

// The result and error boxes are shown on the worker's own thread, which
// therefore gets the usual 1 MiB of stack.
constexpr SIZE_T kBenchmarkStackReserve = 1024 * 1024;

// Worker routine that StartJob runs for the file to measure.
DWORD WINAPI BenchmarkThread(LPVOID jobPath);
// The job body: path is shown as given.
void BenchmarkJob(HWND mainWindow, const char* path);
