// The Hash String dialog: the MD5 checksum of a typed or pasted text goes into
// a hash field of the main window.
#pragma once

#include <windows.h>

#include "ui/LayoutAnchor.h"

INT_PTR CALLBACK HashStringDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the dialog modally over owner (the main window); template 202 may come
// from the resource module. Returns IDOK or IDCANCEL.
INT_PTR ShowHashStringDialog(HWND owner);

// Record mode (newClient null): fills the rows from the controls' places.
// Apply mode: moves and sizes the controls for the new client size. Rows whose
// control does not exist are passed over.
void AnchorLayout(HWND dialog, LayoutEntry* rows, int count, const SIZE* newClient);
