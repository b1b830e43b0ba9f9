// System functions bound at run time; each wrapper yields 0 when missing.
#pragma once

#include <windows.h>

void ResolveOptionalFunctions();

DWORD OptGetLongPathName(const char* shortPath, char* longPath, DWORD size);
BOOL OptIsWow64Process(HANDLE process, BOOL* isWow64);
BOOL OptWow64DisableWow64FsRedirection(PVOID* oldValue);
BOOL OptWow64RevertWow64FsRedirection(PVOID oldValue);
BOOL OptSetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags);
BOOL OptFlashWindowEx(FLASHWINFO* info);
HMONITOR OptMonitorFromRect(const RECT* rect, DWORD flags);
BOOL OptGetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
// Whether FlashWindowEx was found: its result cannot tell, being the
// caption's previous state rather than success.
bool HasFlashWindowEx();
BOOL OptIsThemeActive();
// Windows 10 version 1607 and later: the DPI of the monitor a window is on,
// and metrics at a given DPI.
UINT OptGetDpiForWindow(HWND window);
int OptGetSystemMetricsForDpi(int index, UINT dpi);
BOOL OptAdjustWindowRectExForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);
BOOL OptSystemParametersInfoForDpi(UINT action, UINT param, void* value, UINT update, UINT dpi);
