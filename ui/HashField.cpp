#include "ui/HashField.h"

#include "system/ChecksumScan.h"
#include "system/ScopedHandle.h"
#include "system/WidePath.h"

#include <cwchar>
#include <string>

#include "jobs/JobRunner.h"
#include "ui/MainWindow.h"
#include "res/resource.h"

namespace {

// 32 characters and the terminating zero, whatever the field holds.
constexpr SIZE_T kClipboardChars = kChecksumLength + 1;

LRESULT CallPrevious(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(field, GWLP_USERDATA));
    return CallWindowProcA(previous, field, message, wParam, lParam);
}

bool IsReadOnly(HWND field) {
    return (GetWindowLongA(field, GWL_STYLE) & ES_READONLY) != 0;
}

struct Selection {
    DWORD start;
    DWORD end;
    bool Empty() const { return start == end; }
};

Selection GetSelection(HWND field) {
    Selection selection = {0, 0};
    SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start),
                 reinterpret_cast<LPARAM>(&selection.end));
    return selection;
}

void EnableItem(HMENU menu, UINT id, bool enabled) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

// Opens at the pointer even when asked from the keyboard; never the edit
// control's own menu.
LRESULT OnContextMenu(HWND field) {
    HMENU menu = EditMenu;
    if (!menu)
        return 0;
    bool hasText = GetWindowTextLengthA(field) > 0;
    EnableItem(menu, IDM_CUT, hasText);
    EnableItem(menu, IDM_COPY, hasText);
    EnableItem(menu, IDM_PASTE, IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE);
    EnableItem(menu, IDM_CLEAR_FIELD, hasText && !IsJobActive());
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    TrackPopupMenu(menu, 0, pointer.x, pointer.y, 0, field, nullptr);
    return 0;
}

// Without DLGC_HASSETSEL the dialog manager leaves the selection alone on Tab.
LRESULT OnGetDlgCode(HWND field, WPARAM wParam, LPARAM lParam) {
    return CallPrevious(field, WM_GETDLGCODE, wParam, lParam) & ~DLGC_HASSETSEL;
}

// Keys and menu items cut, copy and paste through the field's own handlers.
LRESULT SendToField(HWND field, UINT message) {
    SendMessageA(field, message, 0, 0);
    return 0;
}

LRESULT OnChar(HWND field, WPARAM wParam, LPARAM lParam) {
    constexpr WPARAM kCtrlC = 0x03, kCtrlV = 0x16, kCtrlX = 0x18;
    switch (wParam) {
    case kCtrlX:
        return SendToField(field, WM_CUT);
    case kCtrlC:
        return SendToField(field, WM_COPY);
    case kCtrlV:
        return SendToField(field, WM_PASTE);
    default:
        return CallPrevious(field, WM_CHAR, wParam, lParam);
    }
}

LRESULT OnCommand(HWND field, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_CUT:
        return SendToField(field, WM_CUT);
    case IDM_COPY:
        return SendToField(field, WM_COPY);
    case IDM_PASTE:
        return SendToField(field, WM_PASTE);
    case IDM_CLEAR_FIELD:
        if (!IsJobActive())
            SetWindowTextA(field, "");
        return 0;
    default:
        return CallPrevious(field, WM_COMMAND, wParam, lParam);
    }
}

// The whole field to the clipboard; a copy that failed (another program
// holds the clipboard open) beeps. An empty field has nothing to copy.
bool CopyWholeField(HWND field) {
    if (GetWindowTextLengthA(field) == 0)
        return false;
    if (CopyHashToClipboard(GetParent(field), field))
        return true;
    MessageBeep(kSimpleBeep);
    return false;
}

// With nothing selected, or in the read-only field, the whole checksum goes,
// and only once it is on the clipboard: otherwise it would be lost.
LRESULT OnCut(HWND field, WPARAM wParam, LPARAM lParam) {
    if (!GetSelection(field).Empty() && !IsReadOnly(field))
        return CallPrevious(field, WM_CUT, wParam, lParam);
    if (CopyWholeField(field) && !IsJobActive())
        SetWindowTextA(field, "");
    return 0;
}

LRESULT OnCopy(HWND field, WPARAM wParam, LPARAM lParam) {
    if (!GetSelection(field).Empty())
        return CallPrevious(field, WM_COPY, wParam, lParam);
    CopyWholeField(field);
    return 0;
}

// An empty, read-only or wholly replaced full field takes only a whole
// checksum; otherwise the edit control pastes as usual.
LRESULT OnPaste(HWND field, WPARAM wParam, LPARAM lParam) {
    int length = GetWindowTextLengthA(field);
    Selection selection = GetSelection(field);
    bool wholeSelected = selection.start == 0 && selection.end == DWORD(kChecksumLength);
    bool wholeField = length == 0 || IsReadOnly(field) ||
                      (length == kChecksumLength && (selection.Empty() || wholeSelected));
    if (!wholeField)
        return CallPrevious(field, WM_PASTE, wParam, lParam);
    if (!PasteHashFromClipboard(GetParent(field), field))
        MessageBeep(kSimpleBeep);
    return 0;
}

} // namespace

void SubclassHashField(HWND field) {
    SetWindowLongPtrA(field, GWLP_USERDATA, GetWindowLongPtrA(field, GWLP_WNDPROC));
    SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HashField));
}

LRESULT CALLBACK HashField(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CONTEXTMENU:
        return OnContextMenu(field);
    case WM_GETDLGCODE:
        return OnGetDlgCode(field, wParam, lParam);
    case WM_CHAR:
        return OnChar(field, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(field, wParam, lParam);
    case WM_CUT:
        return OnCut(field, wParam, lParam);
    case WM_COPY:
        return OnCopy(field, wParam, lParam);
    case WM_PASTE:
        return OnPaste(field, wParam, lParam);
    default:
        return CallPrevious(field, message, wParam, lParam);
    }
}

// The clipboard's text goes as CF_UNICODETEXT both ways: the system turns
// CF_TEXT into Unicode by the input locale's code page, not the program's.
bool CopyHashToClipboard(HWND owner, HWND field) {
    if (GetWindowTextLengthA(field) == 0)
        return false;
    ScopedClipboard clipboard(owner);
    if (!clipboard)
        return false;
    EmptyClipboard();
    // Zero-filled, so no stale bytes reach other programs past the text.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kClipboardChars * sizeof(wchar_t));
    wchar_t* text = block ? static_cast<wchar_t*>(GlobalLock(block)) : nullptr;
    if (!text) {
        if (block)
            GlobalFree(block);
        return false;
    }
    GetWindowTextW(field, text, int(kClipboardChars));
    GlobalUnlock(block);
    // The clipboard owns the block only once it took it.
    bool handedOver = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!handedOver)
        GlobalFree(block);
    return handedOver;
}

bool PasteHashFromClipboard(HWND owner, HWND field) {
    if (IsJobActive() || !IsClipboardFormatAvailable(CF_UNICODETEXT))
        return false;
    char digits[kChecksumLength + 1];
    bool accepted = false;
    {
        ScopedClipboard clipboard(owner);
        if (!clipboard)
            return false;
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        const wchar_t* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
        if (!wide)
            return true;
        // Another program wrote the block: read no further than its size, zero or not.
        const std::wstring bounded(wide, wcsnlen(wide, GlobalSize(data) / sizeof(wchar_t)));
        GlobalUnlock(data);
        const std::string text = AnsiFromWide(bounded.c_str());
        accepted = ScanChecksum(text.c_str(), text.size(), digits);
    }
    // Set after closing: the change runs the main window's field processing.
    if (accepted)
        SetWindowTextA(field, digits);
    return accepted;
}
