#include "ui/DialogDrag.h"

INT_PTR DragByFreeSpot(HWND window) {
    POINT cursor;
    GetCursorPos(&cursor);
    PostMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
    return TRUE;
}
