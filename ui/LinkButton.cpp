#include "ui/LinkButton.h"

#include "system/ScopedHandle.h"

#include <windowsx.h>

namespace {

constexpr int kCaptionSize = 1024;

// The one link button's state.
struct LinkState {
    WNDPROC previous;
    HCURSOR hand;
    HFONT normalFont;     // the dialog's
    HFONT underlinedFont; // the button's own
    RECT text;            // the caption's extent, client coordinates
    bool hot;             // pointer over the caption, mouse captured
};
LinkState Link;

// Sent again when the dialog's DPI has changed: the dialog's font is then
// made for the new DPI, and the underlined one and the caption's extent follow.
LRESULT OnLinkInit(HWND button) {
    HFONT previousUnderlined = Link.underlinedFont;
    HFONT dialogFont = (HFONT)SendMessageA(GetParent(button), WM_GETFONT, 0, 0);
    Link.hand = LoadCursorA(nullptr, IDC_HAND);
    Link.normalFont = dialogFont ? dialogFont : (HFONT)SendMessageA(button, WM_GETFONT, 0, 0);
    Link.underlinedFont = nullptr;
    Link.hot = false;
    // Measured and drawn in Unicode: GDI takes 8-bit text in the system's
    // code page, which need not be the program's.
    wchar_t caption[kCaptionSize];
    GetWindowTextW(button, caption, kCaptionSize);
    SetRectEmpty(&Link.text);
    {
        ScopedWindowDC context(button);
        HGDIOBJ previousFont = SelectObject(context.Get(), Link.normalFont);
        DrawTextW(context.Get(), caption, -1, &Link.text,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(context.Get(), previousFont);
    }
    if (Link.normalFont) {
        LOGFONTA font;
        if (GetObjectA(Link.normalFont, sizeof font, &font)) {
            font.lfUnderline = 1;
            Link.underlinedFont = CreateFontIndirectA(&font);
            SendMessageA(button, WM_SETFONT, (WPARAM)Link.underlinedFont, FALSE);
        }
    }
    if (previousUnderlined)
        DeleteObject(previousUnderlined);
    return 1;
}

LRESULT OnGetTextRect(RECT* rect) {
    if (rect)
        *rect = Link.text;
    return 1;
}

// Edges count as inside; coordinates left of or above the button are outside.
bool IsOverText(int x, int y) {
    return x >= Link.text.left && x <= Link.text.right && y >= Link.text.top &&
           y <= Link.text.bottom;
}

void ShowHot(HWND button, bool hot) {
    SendMessageA(button, WM_SETFONT, (WPARAM)(hot ? Link.normalFont : Link.underlinedFont), FALSE);
    InvalidateRect(button, &Link.text, TRUE);
}

LRESULT OnMouseMove(HWND button, LPARAM lParam) {
    bool inside = IsOverText(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (inside && !Link.hot) {
        ShowHot(button, true);
        SetCapture(button);
        Link.hot = true;
    } else if (!inside && Link.hot) {
        ShowHot(button, false);
        // Stays hot when the release fails; the next move outside tries again.
        if (ReleaseCapture())
            Link.hot = false;
    }
    return 0;
}

LRESULT OnCaptureChanged(HWND button) {
    if (Link.hot) {
        ShowHot(button, false);
        Link.hot = false;
    }
    return 0;
}

// Only the caption is live: elsewhere the pointer belongs to the dialog below.
LRESULT OnNcHitTest(HWND button, WPARAM wParam, LPARAM lParam) {
    RECT window;
    GetWindowRect(button, &window);
    RECT live = {window.left + Link.text.left, window.top + Link.text.top,
                 window.left + Link.text.right, window.top + Link.text.bottom};
    int x = GET_X_LPARAM(lParam);
    int y = GET_Y_LPARAM(lParam);
    if (x < live.left || x > live.right || y < live.top || y > live.bottom)
        return HTTRANSPARENT;
    return CallWindowProcA(Link.previous, button, WM_NCHITTEST, wParam, lParam);
}

LRESULT OnSetCursor(HWND button, WPARAM wParam, LPARAM lParam) {
    if (!Link.hand)
        return CallWindowProcA(Link.previous, button, WM_SETCURSOR, wParam, lParam);
    SetCursor(Link.hand);
    return TRUE;
}

LRESULT OnDestroy(HWND button, WPARAM wParam, LPARAM lParam) {
    if (Link.underlinedFont)
        DeleteObject(Link.underlinedFont);
    Link.underlinedFont = nullptr;
    return CallWindowProcA(Link.previous, button, WM_DESTROY, wParam, lParam);
}

LRESULT CALLBACK LinkButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case UM_LINK_INIT:
        return OnLinkInit(button);
    case UM_LINK_GET_TEXT_RECT:
        return OnGetTextRect((RECT*)lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(button, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(button);
    case WM_NCHITTEST:
        return OnNcHitTest(button, wParam, lParam);
    case WM_SETCURSOR:
        return OnSetCursor(button, wParam, lParam);
    case WM_DESTROY:
        return OnDestroy(button, wParam, lParam);
    default:
        return CallWindowProcA(Link.previous, button, message, wParam, lParam);
    }
}

} // namespace

void SubclassLinkButton(HWND button) {
    Link.previous = (WNDPROC)SetWindowLongPtrA(button, GWLP_WNDPROC, (LONG_PTR)LinkButtonProc);
}

void DrawLinkButton(const DRAWITEMSTRUCT* item) {
    RECT text = {};
    SendMessageA(item->hwndItem, UM_LINK_GET_TEXT_RECT, 0, (LPARAM)&text);
    bool entire = (item->itemAction & ODA_DRAWENTIRE) != 0;
    if (entire) {
        wchar_t caption[kCaptionSize];
        GetWindowTextW(item->hwndItem, caption, kCaptionSize);
        HGDIOBJ previousBrush = SelectObject(item->hDC, GetSysColorBrush(COLOR_BTNFACE));
        COLORREF previousText = SetTextColor(item->hDC, GetSysColor(COLOR_HOTLIGHT));
        COLORREF previousBack = SetBkColor(item->hDC, GetSysColor(COLOR_BTNFACE));
        RECT area = item->rcItem;
        DrawTextW(item->hDC, caption, -1, &area, DT_SINGLELINE | DT_NOPREFIX);
        SetTextColor(item->hDC, previousText);
        SetBkColor(item->hDC, previousBack);
        SelectObject(item->hDC, previousBrush);
    }
    bool focusChange = (entire && (item->itemState & ODS_FOCUS)) || (item->itemAction & ODA_FOCUS);
    if (focusChange && !(item->itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(item->hDC, &text);
}
