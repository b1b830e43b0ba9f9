// Timing helpers of the benchmarks that drive the real program's windows.
#pragma once

#include <windows.h>

// Milliseconds from the performance counter.
inline double NowMs() {
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

// How long the window takes to answer a sent WM_NULL; -1 when it did not
// within timeoutMs.
inline double SendRoundTripMs(HWND window, DWORD timeoutMs) {
    double before = NowMs();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result))
        return -1;
    return NowMs() - before;
}
