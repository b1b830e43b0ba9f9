// The list window (IDD_LIST): the rows of a list job, its summary, a filter
// for the problems and the report to copy. Modeless, owned by the main
// window, always the program's own dialog.
#pragma once

#include <windows.h>

#include <memory>

#include "jobs/ListTable.h"

// Sent by a list job to the main window: lParam points to the job's
// std::shared_ptr<ListTable>; the window opens on the user-interface thread.
constexpr UINT UM_OPEN_LIST = WM_APP + 40;

// How often the window looks at the table for new results.
constexpr UINT kListRefreshMs = 100;

constexpr const char* kListStopText = "&Stop";
constexpr const char* kListCloseText = "Close";

// The open list window, or null.
extern HWND ListWindow;

// Opens the window for table over owner, closing one that shows an older
// list; it takes the place and size the last one closed at.
HWND ShowListWindow(HWND owner, const std::shared_ptr<ListTable>& table);

// The message loop's share: true when message was for the list window and
// has been handled as its own dialog message, so the main window's
// accelerators never see it.
bool HandleListWindowMessage(MSG* message);
