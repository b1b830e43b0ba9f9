#include "ui/AboutDialog.h"

#include <shellapi.h>

#include "ui/DpiScale.h"
#include "ui/LinkButton.h"
#include "ui/ResourceModule.h"
#include "res/resource.h"

const char* const kMakerWebPage = "http://orrendale.example/";

namespace {

int Dpi; // as last laid out; the dialog is modal: one at a time

INT_PTR OnInitDialog(HWND dialog) {
    Dpi = WindowDpi(dialog);
    HWND link = GetDlgItem(dialog, IDC_LINK);
    if (link) {
        SubclassLinkButton(link);
        SendMessageA(link, UM_LINK_INIT, 0, 0);
    }
    return FALSE;
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case IDC_LINK:
        // Its click alone: a double click adds BN_DOUBLECLICKED, which must
        // not open the page a second time.
        if (HIWORD(wParam) != BN_CLICKED)
            return TRUE;
        // A browser that cannot be started is not reported; the dialog stays.
        ShellExecuteA(dialog, "open", kMakerWebPage, nullptr, nullptr, SW_SHOWNORMAL);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnDpiSettled(HWND dialog) {
    HWND link = GetDlgItem(dialog, IDC_LINK);
    if (link) {
        SendMessageA(link, UM_LINK_INIT, 0, 0);
        InvalidateRect(link, nullptr, TRUE);
    }
    return TRUE;
}

INT_PTR OnDrawItem(const DRAWITEMSTRUCT* item) {
    if (item->CtlID == IDC_LINK)
        DrawLinkButton(item);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    case WM_DRAWITEM:
        return OnDrawItem((const DRAWITEMSTRUCT*)lParam);
    case WM_DPICHANGED:
        return OnDpiChanged(dialog, &Dpi, wParam, (const RECT*)lParam);
    case UM_DPI_SETTLED:
        return OnDpiSettled(dialog);
    default:
        return FALSE;
    }
}

INT_PTR ShowAboutDialog(HWND owner) {
    return DialogBoxParamA(ResourceModule.own, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc,
                           0);
}
