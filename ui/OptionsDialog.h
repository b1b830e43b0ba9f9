// The Options dialog: every option of Settings, stored and applied on OK.
#pragma once

#include <windows.h>

// The colour picker's custom-colour row, kept for the run (not stored).
// Exported for the tests only.
extern COLORREF CustomColours[16];

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the dialog modally over owner (the main window); template 204 may come
// from the resource module. Returns IDOK or IDCANCEL.
INT_PTR ShowOptionsDialog(HWND owner);

// The system colour dialog starting on *colour; true and *colour set when the
// user confirmed, else *colour is left alone.
bool PickColour(HWND owner, COLORREF* colour);
