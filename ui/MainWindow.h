// The main window: a modeless dialog (IDD_MAIN) owning the command table.
#pragma once

#include <windows.h>

// The main window's caption, its idle status text and its message boxes' title.
constexpr const char* kProgramName = "Calverin";
// A window property set on the main window, by which a second start finds it
// whatever its caption.
constexpr const char* kMainWindowMark = "CalverinMainWindow";
// MessageBeep's simple beep: a refused command or a failed clipboard step.
constexpr UINT kSimpleBeep = 0xFFFFFFFF;

// Posted to the main window to open the save-file dialog of a /create.
constexpr UINT UM_CREATE_LIST = WM_APP + 41;

// Published at WM_INITDIALOG; read-only elsewhere (jobs address the window).
// Hash1Field, Hash2Field and OpenButton are exported for the tests only.
extern HWND MainWindow;
extern HWND Hash1Field;
extern HWND Hash2Field;
extern HWND OpenButton;
extern HWND StatusButton;
extern HMENU EditMenu; // the hash fields' context menu (popup 1 of IDR_MAIN_MENU)

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opacity 0..254 makes the window layered; above 254 opaque; below 0 only
// reports (true) whether transparency is available.
bool SetWindowOpacity(HWND window, int value);
