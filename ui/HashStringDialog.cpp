#include "ui/HashStringDialog.h"

#include "system/ScopedHandle.h"
#include "system/WidePath.h"

#include <cstring>

#include "jobs/HashFilesJob.h"
#include "jobs/JobRunner.h"
#include "ui/AnchorLayout.h"
#include "ui/DialogDrag.h"
#include "ui/DpiScale.h"
#include "ui/MainWindow.h"
#include "ui/ResourceModule.h"
#include "res/resource.h"

namespace {

// Pixels at 96 DPI.
constexpr int kMinimumWidth = 288;
constexpr int kMinimumHeight = 146;
constexpr DWORD kGripStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN;

// The largest clipboard text the box is given at opening. The multi-line box
// lays out every line anew and wraps a long one in a time growing with the
// square of its length: 64 KiB in lines of 1 KiB take a fraction of a second,
// one line of 64 KiB a minute. A longer text is held for OK instead, the box
// showing its start.
constexpr size_t kBoxTextLimit = 64 * 1024;
constexpr size_t kBoxLineLimit = 1024;
constexpr size_t kShownStartLength = 1024;
constexpr const char* kHeldTextFormat =
    "\r\n\r\n[The start of the clipboard's text of %lu characters. OK hashes all of it; "
    "once this box is changed, OK hashes the box instead.]";

// Kept for the whole run: the place of the last closing and the anchors,
// both in pixels at AnchorsDpi.
RECT SavedRect;
bool AnchorsRecorded;
int AnchorsDpi;
LayoutEntry Layout[] = {
    {IDC_STRING_TEXT, 0, 0, 0, 0, AnchorStretch, AnchorStretch},
    {IDC_MENU, 0, 0, 0, 0, AnchorFixed, AnchorMove},
    {IDOK, 0, 0, 0, 0, AnchorMove, AnchorMove},
    {IDC_SIZE_GRIP, 0, 0, 0, 0, AnchorMove, AnchorMove},
};
constexpr int kLayoutRows = sizeof(Layout) / sizeof(Layout[0]);

// State of one opening; the dialog is modal, so there is one at a time.
struct Opening {
    HBITMAP bitmap;
    HWND grip;
    HWND edit;
    WNDPROC editProc;
    LRESULT editCode;
    int dpi;          // as last laid out
    HGLOBAL heldText; // a clipboard text too long for the box, zero-terminated
};
Opening Current;

// The edit keeps Tab: it types a tab character instead of moving the focus.
LRESULT CALLBACK TextEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE)
        return Current.editCode | DLGC_WANTTAB;
    return CallWindowProcA(Current.editProc, edit, message, wParam, lParam);
}

void CreateSizeGrip(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    int width = MetricForDpi(SM_CXVSCROLL, Current.dpi);
    int height = MetricForDpi(SM_CYHSCROLL, Current.dpi);
    Current.grip = CreateWindowExA(0, "ScrollBar", nullptr, kGripStyle, client.right - width,
                                   client.bottom - height, width, height, dialog,
                                   (HMENU)(INT_PTR)IDC_SIZE_GRIP,
                                   (HINSTANCE)GetWindowLongPtrA(dialog, GWLP_HINSTANCE), nullptr);
}

void ShowMenuPicture(HWND dialog) {
    ShowPictureForDpi(dialog, IDC_MENU, LoadModuleBitmap(MAKEINTRESOURCEA(IDB_MENU)), Current.dpi,
                      &Current.bitmap);
}

// The anchors from AnchorsDpi to dpi, the grip's at that DPI's size.
void ScaleAnchors(int dpi) {
    if (!AnchorsRecorded || AnchorsDpi <= 0 || AnchorsDpi == dpi)
        return;
    for (LayoutEntry& row : Layout) {
        row.x = MulDiv(row.x, dpi, AnchorsDpi);
        row.y = MulDiv(row.y, dpi, AnchorsDpi);
        row.w = MulDiv(row.w, dpi, AnchorsDpi);
        row.h = MulDiv(row.h, dpi, AnchorsDpi);
        if (row.id == IDC_SIZE_GRIP) {
            row.x = row.w = MetricForDpi(SM_CXVSCROLL, dpi);
            row.y = row.h = MetricForDpi(SM_CYHSCROLL, dpi);
        }
    }
    AnchorsDpi = dpi;
}

bool FitsTheBox(const wchar_t* text, size_t length) {
    if (length > kBoxTextLimit)
        return false;
    size_t line = 0;
    for (size_t i = 0; i < length; ++i) {
        line = (text[i] == L'\r' || text[i] == L'\n') ? 0 : line + 1;
        if (line > kBoxLineLimit)
            return false;
    }
    return true;
}

// A copy of the text with its terminating zero, or null without memory.
HGLOBAL CopyText(const char* text, size_t length) {
    HGLOBAL copy = GlobalAlloc(GMEM_FIXED, length + 1);
    if (copy) {
        memcpy(copy, text, length);
        static_cast<char*>(copy)[length] = '\0';
    }
    return copy;
}

// The box shows the held text's start, whole characters only, and says
// that there is more.
void ShowHeldTextStart(const std::wstring& text) {
    size_t start = text.size() < kShownStartLength ? text.size() : kShownStartLength;
    if (start > 0 && start < text.size() && IS_HIGH_SURROGATE(text[start - 1]))
        --start;
    char notice[160];
    wsprintfA(notice, kHeldTextFormat, (unsigned long)text.size());
    std::wstring shown = text.substr(0, start);
    // The notice is ASCII: each byte is its own character.
    for (const char* c = notice; *c != '\0'; ++c)
        shown += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    SetWindowTextW(Current.edit, shown.c_str());
}

// The clipboard's text goes into the box when the box can lay it out at
// once, by the box's own paste; a longer one is held for OK, in the
// program's code page as the box would give it. Without memory for the copy
// the box starts empty.
void TakeClipboardText(HWND dialog) {
    bool fits = true;
    std::wstring held;
    {
        ScopedClipboard clipboard(dialog);
        // Unicode: CF_TEXT would be converted by the input locale.
        HANDLE data = clipboard ? GetClipboardData(CF_UNICODETEXT) : nullptr;
        const wchar_t* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
        if (!text)
            return;
        // Another program wrote the block: read no further than its size.
        size_t length = wcsnlen(text, GlobalSize(data) / sizeof(wchar_t));
        fits = FitsTheBox(text, length);
        if (!fits)
            held.assign(text, length);
        GlobalUnlock(data);
    }
    if (fits) {
        SendMessageA(Current.edit, WM_PASTE, 0, 0);
        return;
    }
    std::string bytes = AnsiFromWide(held.c_str());
    Current.heldText = CopyText(bytes.data(), bytes.size());
    if (Current.heldText)
        ShowHeldTextStart(held);
}

INT_PTR OnInitDialog(HWND dialog) {
    Current = Opening{};
    Current.dpi = WindowDpi(dialog);
    ShowMenuPicture(dialog);
    // The WM_SIZE this causes is laid out with the anchors of the last opening,
    // which closed at AnchorsDpi; its size is taken to this one's DPI.
    if (!IsRectEmpty(&SavedRect)) {
        int from = AnchorsDpi > 0 ? AnchorsDpi : Current.dpi;
        ScaleAnchors(Current.dpi);
        SetWindowPos(dialog, nullptr, SavedRect.left, SavedRect.top,
                     MulDiv(SavedRect.right - SavedRect.left, Current.dpi, from),
                     MulDiv(SavedRect.bottom - SavedRect.top, Current.dpi, from), SWP_NOZORDER);
    }
    CreateSizeGrip(dialog);
    Current.edit = GetDlgItem(dialog, IDC_STRING_TEXT);
    if (Current.edit) {
        // The default limit would cut a long text, and the checksum of the
        // cut text would be shown as if of the whole; 0 lifts it to the most.
        SendMessageA(Current.edit, EM_SETLIMITTEXT, 0, 0);
        Current.editCode = SendMessageA(Current.edit, WM_GETDLGCODE, 0, 0);
        Current.editProc =
            (WNDPROC)SetWindowLongPtrA(Current.edit, GWLP_WNDPROC, (LONG_PTR)TextEditProc);
    }
    AnchorLayout(dialog, Layout, kLayoutRows, nullptr);
    AnchorsRecorded = true;
    AnchorsDpi = Current.dpi;
    if (Current.edit)
        TakeClipboardText(dialog);
    return FALSE;
}

INT_PTR OnSize(HWND dialog, WPARAM type, LPARAM lParam) {
    if (type == SIZE_MAXSHOW || type == SIZE_MAXHIDE || type == SIZE_MINIMIZED)
        return TRUE;
    if (AnchorsRecorded) {
        SIZE client = {LOWORD(lParam), HIWORD(lParam)};
        AnchorLayout(dialog, Layout, kLayoutRows, &client);
    }
    if (Current.grip)
        ShowWindow(Current.grip, type == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
    return TRUE;
}

// Also asked before WM_INITDIALOG, for the DPI the dialog is created at.
INT_PTR OnGetMinMaxInfo(HWND dialog, MINMAXINFO* info) {
    int dpi = Current.dpi != 0 ? Current.dpi : WindowDpi(dialog);
    info->ptMinTrackSize.x = ScaleForDpi(kMinimumWidth, dpi);
    info->ptMinTrackSize.y = ScaleForDpi(kMinimumHeight, dpi);
    return TRUE;
}

// The dialog manager has laid the controls out by the template for the new
// DPI; they go back where the user's size puts them.
INT_PTR OnDpiSettled(HWND dialog, int newDpi) {
    ShowMenuPicture(dialog);
    if (!AnchorsRecorded)
        return TRUE;
    ScaleAnchors(newDpi);
    RECT client;
    GetClientRect(dialog, &client);
    SIZE size = {client.right, client.bottom};
    AnchorLayout(dialog, Layout, kLayoutRows, &size);
    return TRUE;
}

// Whether a job holds the slot, the fields and the status line. Between two
// files of a batch the state is idle for a moment, but a string hashed then
// would end as Idle and silently cancel the file that starts meanwhile.
bool IsJobSlotTaken() {
    return IsJobActive() || IsBatchRunning();
}

void HashAndClose(HWND dialog, HWND owner, const char* text) {
    SetForegroundWindow(owner);
    HashJob(owner, text, false);
    EndBatchIfDone();
    EndDialog(dialog, IDOK);
}

// Hashes the text into a field of the owner: a held clipboard text while the
// box still shows its start unchanged, else the box's text. While a job or a
// batch holds the fields, or when there is no memory for a copy of the text,
// the dialog stays open with its text and beeps, and the user may press OK
// again.
INT_PTR OnOk(HWND dialog) {
    if (IsJobSlotTaken()) {
        MessageBeep(kSimpleBeep);
        return TRUE;
    }
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (Current.heldText && !SendMessageA(Current.edit, EM_GETMODIFY, 0, 0)) {
        HashAndClose(dialog, owner, static_cast<const char*>(Current.heldText));
        return TRUE;
    }
    int length = Current.edit ? GetWindowTextLengthA(Current.edit) : 0;
    HGLOBAL text = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (SIZE_T)length + 1);
    if (!text) {
        MessageBeep(kSimpleBeep);
        return TRUE;
    }
    char* chars = (char*)text;
    if (Current.edit)
        GetWindowTextA(Current.edit, chars, length + 1);
    HashAndClose(dialog, owner, chars);
    GlobalFree(text);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK:
        return OnOk(dialog);
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnDestroy(HWND dialog) {
    if (Current.bitmap)
        DeleteObject(Current.bitmap);
    GetWindowRect(dialog, &SavedRect);
    if (Current.heldText)
        GlobalFree(Current.heldText);
    // The edit, destroyed after its parent, still forwards to editProc.
    Current.bitmap = nullptr;
    Current.grip = nullptr;
    Current.heldText = nullptr;
    return TRUE;
}

} // namespace

INT_PTR CALLBACK HashStringDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_SIZE:
        return OnSize(dialog, wParam, lParam);
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(dialog, (MINMAXINFO*)lParam);
    case WM_GETDPISCALEDSIZE:
        return OnGetDpiScaledSize(dialog, Current.dpi, wParam, (SIZE*)lParam);
    case WM_DPICHANGED:
        return OnDpiChanged(dialog, &Current.dpi, wParam, (const RECT*)lParam);
    case UM_DPI_SETTLED:
        return OnDpiSettled(dialog, (int)wParam);
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    case WM_LBUTTONDOWN:
        return DragByFreeSpot(dialog);
    case WM_DESTROY:
        return OnDestroy(dialog);
    default:
        return FALSE;
    }
}

INT_PTR ShowHashStringDialog(HWND owner) {
    return ShowModuleDialog(MAKEINTRESOURCEA(IDD_HASH_STRING), owner, HashStringDialogProc);
}
