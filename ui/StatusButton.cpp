#include "ui/StatusButton.h"

#include <windowsx.h>

#include "ui/DpiScale.h"

// There is one status button, so its state lives here. Only its window
// procedure, on the user-interface thread, changes the flags; workers reach
// them through SendMessage.
namespace {

WNDPROC PreviousProc = nullptr;
int Hot = 0;  // pointer over the button, which holds the capture
int Busy = 1; // hot, focused or pressed reads "Cancel operation"

const wchar_t kCancelText[] = L"Cancel operation";
constexpr int kCaptionSize = 1024;

bool IsPointInside(HWND button, LPARAM lParam) {
    RECT client;
    GetClientRect(button, &client);
    int x = GET_X_LPARAM(lParam);
    int y = GET_Y_LPARAM(lParam);
    // Right and bottom edges count as inside.
    return x >= 0 && y >= 0 && x <= client.right && y <= client.bottom;
}

void Unpush(HWND button) {
    if (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED)
        SendMessageA(button, BM_SETSTATE, FALSE, 0);
}

LRESULT OnMouseMove(HWND button, LPARAM lParam) {
    bool inside = IsPointInside(button, lParam);
    if (inside && !Hot) {
        InvalidateRect(button, nullptr, TRUE);
        SetCapture(button);
        Hot = 1;
    } else if (!inside && Hot) {
        InvalidateRect(button, nullptr, TRUE);
        Unpush(button);
        // Releasing sends WM_CAPTURECHANGED, which may clear Hot already.
        if (ReleaseCapture())
            Hot = 0;
    }
    return 0;
}

LRESULT OnCaptureChanged(HWND button) {
    if (Hot) {
        InvalidateRect(button, nullptr, TRUE);
        Unpush(button);
        Hot = 0;
    }
    return 0;
}

LRESULT OnBusy(WPARAM wParam, LPARAM lParam) {
    if (wParam == 0)
        return Busy;
    Busy = lParam != 0 ? 1 : 0;
    return 0;
}

LRESULT CALLBACK StatusButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        return OnMouseMove(button, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(button);
    case UM_STATUS_IS_HOT:
        return Hot;
    case UM_STATUS_BUSY:
        return OnBusy(wParam, lParam);
    default:
        return CallWindowProcA(PreviousProc, button, message, wParam, lParam);
    }
}

} // namespace

void SubclassStatusButton(HWND button) {
    Hot = 0;
    Busy = 1;
    PreviousProc = (WNDPROC)SetWindowLongPtrA(button, GWLP_WNDPROC, (LONG_PTR)StatusButtonProc);
}

enum class Edge { None, Raised, Sunken };

void DrawStatusButton(const DRAWITEMSTRUCT* item) {
    // The text's insets and its shift when pressed, in pixels at 96 DPI.
    const int dpi = WindowDpi(item->hwndItem);
    const int lead = ScaleForDpi(1, dpi);
    const int trail = ScaleForDpi(2, dpi);
    Edge edge = Edge::None;
    int offset = 0;
    LRESULT busy = 0;
    if (!(item->itemState & ODS_DISABLED)) {
        LRESULT hot = SendMessageA(item->hwndItem, UM_STATUS_IS_HOT, 0, 0);
        busy = SendMessageA(item->hwndItem, UM_STATUS_BUSY, 0, 0);
        // The focus look needs the focus: a focus-change drawing without
        // ODS_FOCUS is the button losing it and must come out flat.
        bool focusLook =
            (item->itemState & ODS_FOCUS) && (item->itemAction & (ODA_DRAWENTIRE | ODA_FOCUS));
        if (item->itemState & ODS_SELECTED) {
            edge = Edge::Sunken;
            offset = ScaleForDpi(1, dpi);
        } else if (hot) {
            edge = Edge::Raised;
        } else if (focusLook && !(item->itemState & ODS_NOFOCUSRECT)) {
            edge = Edge::Raised;
        }
    }

    // Drawn in Unicode: GDI takes 8-bit text in the system's code page, which
    // need not be the program's.
    wchar_t caption[kCaptionSize];
    const wchar_t* text = kCancelText;
    if (!busy || edge == Edge::None) {
        caption[0] = L'\0';
        GetWindowTextW(item->hwndItem, caption, kCaptionSize);
        text = caption;
    }

    RECT area = item->rcItem;
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    HGDIOBJ previousBrush = SelectObject(item->hDC, face);
    FillRect(item->hDC, &area, face);
    SelectObject(item->hDC, previousBrush);

    RECT textArea = {area.left + lead + offset, area.top + lead + offset,
                     area.right - trail + offset, area.bottom - trail + offset};
    DrawTextW(item->hDC, text, -1, &textArea, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);

    if (edge == Edge::Raised)
        DrawEdge(item->hDC, &area, BDR_RAISEDINNER, BF_RECT);
    else if (edge == Edge::Sunken)
        DrawEdge(item->hDC, &area, BDR_SUNKENOUTER, BF_RECT);
}
