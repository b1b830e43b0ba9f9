// What the main window shows while a job runs: the status line, the Open
// button and, when the user looks elsewhere, a flashing window.
#pragma once

#include <windows.h>

constexpr const char* kCalculatingText = "[  Calculating checksum  ]";
// ShowErrorReport's format when a file cannot be hashed.
constexpr const char* kHashFailureFormat = "Could not hash file: %s\n\n%s";

// Open off, the status line on with text and its busy look.
void ShowJobStarted(HWND status, HWND open, const char* text);
void SetStatusBusy(HWND status, bool busy);
// The status line back to the program's name and off, JobState Idle, Open on.
void ShowJobEnded(HWND status, HWND open);
// Flashes the window's caption and taskbar button a few times.
void FlashBriefly(HWND window);
