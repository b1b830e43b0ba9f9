// The open-file and folder pickers, placed over the main window.
#pragma once

#include <windows.h>

// buffer: MAX_PATH characters; cleared first. True when a file was chosen.
bool PickFile(HWND owner, char* buffer);
// buffer: MAX_PATH characters; initialFolder may be the same buffer.
bool PickFolder(HWND owner, char* buffer, const char* initialFolder);
// Centres window over reference (or the primary screen when null).
void CentreWindow(HWND window, HWND reference);
