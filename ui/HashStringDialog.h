// The Hash String dialog: the MD5 checksum of a typed or pasted text goes into
// a hash field of the main window.
#pragma once

#include <windows.h>

INT_PTR CALLBACK HashStringDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the dialog modally over owner (the main window); template 202 may come
// from the resource module. Returns IDOK or IDCANCEL.
INT_PTR ShowHashStringDialog(HWND owner);
