// The one way from the jobs up to the user interface. Jobs run on worker
// threads below the windows, yet they show their progress on the status line,
// put checksums into the hash fields and report failures in boxes. These calls
// are declared here and carried out by the user interface (ui/JobStatus.cpp),
// so no job includes a window's header and the layers stay one-way.
#pragma once

#include <windows.h>

#include <memory>

#include "system/FileFacts.h"
#include "jobs/ListTable.h"

constexpr const char* kCalculatingText = "[  Calculating checksum  ]";
// ShowErrorReport's format when a file cannot be hashed.
constexpr const char* kHashFailureFormat = "Could not hash file: %s\n\n%s";
// The same within a batch with more files to come, shown with OK and Cancel.
constexpr const char* kBatchFailureFormat =
    "Could not hash file: %s\n\n%s\n\nCancel stops all remaining files.";

// The main window that the jobs report to; null before it exists.
HWND JobWindow();

// Open off, the status line on with text and its busy look.
void ShowJobStarted(HWND status, HWND open, const char* text);
void SetStatusBusy(HWND status, bool busy);
// The status line back to the program's name and off, JobState Idle, Open on.
void ShowJobEnded(HWND status, HWND open);
// Flashes the window's caption and taskbar button a few times.
void FlashBriefly(HWND window);

// Opens the list window over the main window, showing table's rows; returns
// once it is open (the user-interface thread creates it).
void OpenJobListWindow(const std::shared_ptr<ListTable>& table);

// Whether window shows field 2 (IDC_HASH2): it is expanded.
bool IsField2Shown(HWND window);
// Puts checksum into field 0 (IDC_HASH1) or 1 (IDC_HASH2) of window with the
// facts of path (null: none), as the user would see it set.
void PutChecksum(HWND window, int field, const char* checksum, const char* path);
// What field 0 or 1 of the main window last received.
const HashFieldInfo& FieldRecord(int field);

// A message box whose text (in the program's code page) may name a long
// path: shown by the Unicode call, as the 8-bit one fails on a text beyond
// 64 KiB (under Wine it crashes).
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Message box "Error" with buttons (MB_OK unless given): format's first %s
// is argument, its second the text for the last error (read first thing).
// Returns the button pressed (IDOK, IDCANCEL...), 0 when no box was shown.
int ShowErrorReport(HWND owner, const char* format, const char* argument, UINT buttons = MB_OK);

// Asks the user where to save a new checksum list of folder (a /create of
// the command line), once the main window is up and never inside the
// caller's own handling: a second start's hand-off must not wait on a dialog.
void RequestCreateList(const char* folder);
