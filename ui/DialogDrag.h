// Windows without a caption bar to spare are dragged by any free spot.
#pragma once

#include <windows.h>

// For WM_LBUTTONDOWN: lets the system take the press as one on the caption.
// Returns TRUE, the dialog procedure's answer.
INT_PTR DragByFreeSpot(HWND window);
