// The About dialog: name, version and a link to the maker's web page.
#pragma once

#include <windows.h>

// The maker's web page, opened by the dialog's link. Exported for the tests
// only.
extern const char* const kMakerWebPage;

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the dialog modally over owner, always from the program's own
// resources (a resource module never replaces it). Returns IDOK or IDCANCEL.
INT_PTR ShowAboutDialog(HWND owner);
