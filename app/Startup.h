// Start-up pieces of the entry point: the single-instance hand-off and the
// message loop.
#pragma once

#include <windows.h>

#include "ui/MainWindow.h"

constexpr const char* kInstanceMutexName = "CalverinInstance";
constexpr const char* kMainWindowClass = "#32770";

// Exit codes of the process.
constexpr int kExitNormal = 0;
constexpr int kExitNoHandOff = 1;
constexpr int kExitNoWindow = 2;

// The running instance's main window, or null. The program's own message
// boxes share its class and caption but are owned by it, so the main window
// is the one without an owner. When no window has the caption (a resource
// module may change it), the window carrying kMainWindowMark.
HWND FindMainWindow();

// How long a second start looks for the first instance's main window. On a
// loaded machine (a virus scan of the new program, a cold disk, a dozen starts
// from one selection) the first instance can take many seconds to show it.
constexpr DWORD kFirstInstanceWaitMs = 30000;
// HandOffToFirstInstance's answer, not an exit code, when the first instance
// ended while it waited: this process then holds the mutex and runs as the
// first instance.
constexpr int kRunAsFirstInstance = -1;
// Caption of the box naming the files that could not be handed over; not the
// main window's, so that later starts never take the box for it.
constexpr const char* kLostFilesCaption = "Calverin - Files not hashed";

// The second instance's part: waits up to waitMs for the first instance's
// main window, brings it to the front and sends it the command line, its
// relative paths made full against this process's current folder. mutex: this
// process's handle of the instance mutex, replaced while it waits. Returns
// kExitNormal after a hand-off, kRunAsFirstInstance when the mutex went, or
// kExitNoHandOff when there was nothing to hand over or no window came; then
// a box names the files of the command line, so none is lost in silence.
int HandOffToFirstInstance(HINSTANCE instance, const char* commandLine, HANDLE* mutex,
                           DWORD waitMs);

// Reports each path of the settings that was too long to use (the INI
// file's, CustomUI's) in a box owned by the main window.
void ReportOverlongSettings(HWND mainWindow);

// Runs until the quit message: accelerators first, then the dialog manager.
void RunMessageLoop(HWND mainWindow, HACCEL accelerators);
