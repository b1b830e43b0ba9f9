// The hash-files job.
#pragma once

#include <windows.h>

// Worker routine for StartJob: hashes the file named by the handed path.
DWORD WINAPI HashFileThread(LPVOID jobPath);
