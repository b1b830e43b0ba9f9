// The owner-drawn status line (control IDC_STATUS) of the main window.
#pragma once

#include <windows.h>

constexpr UINT UM_STATUS_IS_HOT = WM_APP + 37;
constexpr UINT UM_STATUS_BUSY = WM_APP + 38;

// Replaces the button's window procedure, remembering the previous one.
void SubclassStatusButton(HWND button);
// Called by the main window on WM_DRAWITEM for IDC_STATUS.
void DrawStatusButton(const DRAWITEMSTRUCT* item);
