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

// The second instance's part: waits (bounded) for the first instance's main
// window, brings it to the front and sends it the command line, its relative
// paths made full against this process's current folder. Returns the
// exit code: kExitNormal after a hand-off, kExitNoHandOff when no window was
// found or there was nothing to hand over.
int HandOffToFirstInstance(HINSTANCE instance, const char* commandLine);

// Reports each path of the settings that was too long to use (the INI
// file's, CustomUI's) in a box owned by the main window.
void ReportOverlongSettings(HWND mainWindow);

// Runs until the quit message: accelerators first, then the dialog manager.
void RunMessageLoop(HWND mainWindow, HACCEL accelerators);
