#include "ui/Pickers.h"

#include "system/Placement.h"

#include <commdlg.h>
#include <cstddef>
#include <shlobj.h>

namespace {

// Each string zero-terminated, the list ended by one more zero.
constexpr char kFileFilter[] = "All Files (*.*)\0*.*\0";
constexpr DWORD kOpenFlags =
    OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
static_assert(kOpenFlags == 0x881024, "open-file dialog flags");
// The layout without the reserved and extra-flag fields of later systems, in
// this build's own pointer size.
constexpr DWORD kOpenFileNameSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(kOpenFileNameSize == (sizeof(void*) == 8 ? 136 : 76), "OPENFILENAMEA, 4.0 layout");

// Where the last open-file dialog was when it closed; empty until then.
RECT savedOpenRect;

UINT_PTR CALLBACK OpenDialogHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam) {
    // The hook window is a child of the dialog itself.
    HWND dialog = GetParent(hook);
    switch (message) {
    case WM_NOTIFY: {
        const OFNOTIFYA* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
        if (notify->hdr.code != CDN_INITDONE)
            return FALSE;
        if (IsRectEmpty(&savedOpenRect))
            CentreWindow(dialog, notify->lpOFN->hwndOwner);
        else
            SetWindowPos(dialog, nullptr, savedOpenRect.left, savedOpenRect.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;
    }
    case WM_DESTROY:
        GetWindowRect(dialog, &savedOpenRect);
        return TRUE;
    default:
        return FALSE;
    }
}

int CALLBACK FolderDialogCallback(HWND dialog, UINT message, LPARAM param, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
        CentreWindow(dialog, nullptr);
    }
    return 0;
}

} // namespace

bool PickFile(HWND owner, char* buffer) {
    buffer[0] = '\0';
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = kOpenFileNameSize;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFileFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = kOpenFlags;
    dialog.lpfnHook = OpenDialogHook;
    return GetOpenFileNameA(&dialog) != FALSE;
}

bool PickFolder(HWND owner, char* buffer, const char* initialFolder) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)))
        return false;
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = FolderDialogCallback;
    browse.lParam = reinterpret_cast<LPARAM>(initialFolder);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (chosen == nullptr) {
        allocator->Release();
        return false;
    }
    bool converted = SHGetPathFromIDListA(chosen, buffer) != FALSE;
    allocator->Free(chosen);
    allocator->Release();
    return converted;
}

void CentreWindow(HWND window, HWND reference) {
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT own;
    GetWindowRect(window, &own);
    RECT over = {0, 0, screenWidth, screenHeight};
    if (reference != nullptr)
        GetWindowRect(reference, &over);
    int x = CentredOrigin(over.left, over.right, own.right - own.left, screenWidth);
    int y = CentredOrigin(over.top, over.bottom, own.bottom - own.top, screenHeight);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
