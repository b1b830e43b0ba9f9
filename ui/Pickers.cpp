#include "ui/Pickers.h"

#include "system/AnsiPath.h"
#include "system/Placement.h"

#include <commdlg.h>
#include <cstddef>
#include <shlobj.h>
#include <string>
#include <vector>

namespace {

// Each string zero-terminated, the list ended by one more zero.
constexpr wchar_t kFileFilter[] = L"All Files (*.*)\0*.*\0";
constexpr DWORD kOpenFlags =
    OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
static_assert(kOpenFlags == 0x881024, "open-file dialog flags");
// Asks before a file is replaced; the folder must exist.
constexpr DWORD kSaveFlags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_OVERWRITEPROMPT |
                             OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
// The layout without the reserved and extra-flag fields of later systems, in
// this build's own pointer size.
constexpr DWORD kOpenFileNameSize = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
static_assert(kOpenFileNameSize == (sizeof(void*) == 8 ? 136 : 76), "OPENFILENAMEW, 4.0 layout");

// Where the last open-file dialog was when it closed; empty until then.
RECT savedOpenRect;

UINT_PTR CALLBACK OpenDialogHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam) {
    // The hook window is a child of the dialog itself.
    HWND dialog = GetParent(hook);
    switch (message) {
    case WM_NOTIFY: {
        const OFNOTIFYW* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
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
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
        CentreWindow(dialog, nullptr);
    }
    return 0;
}

} // namespace

// The Unicode dialog: the ANSI one hands back a best-fit look-alike of a name
// the code page cannot hold, which may be another file's name.
bool PickFile(HWND owner, std::string* path, const wchar_t* filter) {
    path->clear();
    std::vector<wchar_t> chosen(kWidePathSize, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = kOpenFileNameSize;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter ? filter : kFileFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = kWidePathSize;
    dialog.Flags = kOpenFlags;
    dialog.lpfnHook = OpenDialogHook;
    if (!GetOpenFileNameW(&dialog))
        return false;
    *path = AnsiFromWide(chosen.data());
    return !path->empty();
}

// The Unicode browser, for the reason the file dialog is Unicode.
bool PickFolder(HWND owner, const std::string& initialFolder, std::string* chosen) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)))
        return false;
    std::wstring initial;
    WideFromText(initialFolder.c_str(), CP_ACP, &initial);
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = FolderDialogCallback;
    browse.lParam = reinterpret_cast<LPARAM>(initial.c_str());
    LPITEMIDLIST item = SHBrowseForFolderW(&browse);
    if (item == nullptr) {
        allocator->Release();
        return false;
    }
    wchar_t folder[MAX_PATH] = L"";
    bool converted = SHGetPathFromIDListW(item, folder) != FALSE;
    allocator->Free(item);
    allocator->Release();
    if (converted)
        *chosen = AnsiFromWide(folder);
    return converted && !chosen->empty();
}

bool PickListTarget(HWND owner, const std::string& folder, const std::wstring& proposedName,
                    std::string* path) {
    path->clear();
    std::wstring start;
    WideFromText(folder.c_str(), CP_ACP, &start);
    if (!start.empty() && start.back() != L'\\')
        start += L'\\';
    // The folder in the file name box, since later systems open the folder
    // last used rather than an initial one.
    start += proposedName;
    std::vector<wchar_t> chosen(kWidePathSize, L'\0');
    if (start.size() < chosen.size())
        start.copy(chosen.data(), start.size());
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = kOpenFileNameSize;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kChecksumListFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = kWidePathSize;
    dialog.lpstrDefExt = L"md5";
    dialog.Flags = kSaveFlags;
    dialog.lpfnHook = OpenDialogHook;
    if (!GetSaveFileNameW(&dialog))
        return false;
    *path = AnsiFromWide(chosen.data());
    return !path->empty();
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
