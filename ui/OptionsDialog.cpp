#include "ui/OptionsDialog.h"

#include "system/ScopedHandle.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>

#include "system/OptionalFunctions.h"
#include "system/Settings.h"
#include "jobs/HashBatch.h"
#include "ui/DialogDrag.h"
#include "ui/DpiScale.h"
#include "ui/MainWindow.h"
#include "ui/ResourceModule.h"
#include "res/resource.h"

COLORREF CustomColours[16] = {
    0x00DCDCFF, 0x00E1FFE1, 0x00FFF0E1, 0, 0, 0, 0, 0,
    0x00C9C9F8, 0x00C9FCC9, 0x00C9F8FC, 0, 0, 0, 0, 0,
};

namespace {

constexpr int kOpacityMax = 255;
constexpr COLORREF kColourMask = 0x00FFFFFF;

const char* const kMultipleFilesTexts[] = {
    "Stop after every file",
    "Stop after matching file",
    "Don't stop between files",
};

// The check boxes in the order of their ids (1031 to 1035).
constexpr int kCheckBoxes[] = {
    IDC_OPT_FULL_MODE,    IDC_OPT_OPEN_AT_START, IDC_OPT_TOP_MOST,
    IDC_OPT_REMEMBER_POS, IDC_OPT_TRANSPARENT,
};

// State of one opening; the dialog is modal, so there is one at a time.
HBITMAP Bitmap;
int Dpi; // as last laid out
bool TransparencyAvailable;

bool* CheckBoxSetting(int index) {
    bool* settings[] = {&Settings.StartInFullMode, &Settings.GetFileOnStart,
                        &Settings.StartInTopMost, &Settings.RememberPosition,
                        &Settings.Transparent};
    return settings[index];
}

bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

COLORREF SwatchColour(HWND dialog, int id) {
    return (COLORREF)GetWindowLongPtrA(GetDlgItem(dialog, id), GWLP_USERDATA);
}

void SetSwatchColour(HWND dialog, int id, COLORREF colour) {
    SetWindowLongPtrA(GetDlgItem(dialog, id), GWLP_USERDATA, (LONG_PTR)colour);
}

// The opacity in whole per cent, the fraction dropped: 2 gives 0, 128 gives 50.
void UpdateOpacityText(HWND dialog) {
    int position = (int)SendDlgItemMessageA(dialog, IDC_OPT_OPACITY, TBM_GETPOS, 0, 0);
    char text[16];
    snprintf(text, sizeof text, "%d %%", position * 100 / kOpacityMax);
    SetDlgItemTextA(dialog, IDC_OPT_OPACITY_TEXT, text);
}

void EnableOpacity(HWND dialog, bool enable) {
    EnableWindow(GetDlgItem(dialog, IDC_OPT_OPACITY), enable);
    EnableWindow(GetDlgItem(dialog, IDC_OPT_OPACITY_TEXT), enable);
}

void ShowMenuPicture(HWND dialog) {
    ShowPictureForDpi(dialog, IDC_MENU, LoadModuleBitmap(MAKEINTRESOURCEA(IDB_MENU)), Dpi, &Bitmap);
}

INT_PTR OnDpiSettled(HWND dialog) {
    ShowMenuPicture(dialog);
    return TRUE;
}

INT_PTR OnInitDialog(HWND dialog) {
    Bitmap = nullptr;
    Dpi = WindowDpi(dialog);
    ShowMenuPicture(dialog);
    if (OptIsThemeActive())
        ShowWindow(GetDlgItem(dialog, IDC_OPT_FRAME), SW_HIDE);
    SendDlgItemMessageA(dialog, IDC_OPT_OPACITY, TBM_SETRANGEMAX, FALSE, kOpacityMax);
    SendDlgItemMessageA(dialog, IDC_OPT_OPACITY, TBM_SETPOS, TRUE, Settings.WindowOpacity);
    UpdateOpacityText(dialog);
    TransparencyAvailable = SetWindowOpacity(nullptr, -1);
    for (int i = 0; i < 5; ++i)
        SendDlgItemMessageA(dialog, kCheckBoxes[i], BM_SETCHECK,
                            *CheckBoxSetting(i) ? BST_CHECKED : BST_UNCHECKED, 0);
    SetSwatchColour(dialog, IDC_OPT_DIFF_COLOR, Settings.DiffHashColor);
    SetSwatchColour(dialog, IDC_OPT_SAME_HASH_COLOR, Settings.SameHashColor);
    SetSwatchColour(dialog, IDC_OPT_SAME_FILE_COLOR, Settings.SameFileColor);
    for (const char* text : kMultipleFilesTexts)
        SendDlgItemMessageA(dialog, IDC_OPT_MULTIPLE_FILES, CB_ADDSTRING, 0, (LPARAM)text);
    // A stored value outside the list shows as the rule it behaves as, so OK
    // stores that rule.
    SendDlgItemMessageA(dialog, IDC_OPT_MULTIPLE_FILES, CB_SETCURSEL,
                        BatchStopRuleOf(Settings.MultipleFiles), 0);
    EnableOpacity(dialog, TransparencyAvailable && Settings.Transparent);
    EnableWindow(GetDlgItem(dialog, IDC_OPT_TRANSPARENT), TransparencyAvailable);
    return FALSE;
}

void ReadControls(HWND dialog) {
    for (int i = 0; i < 5; ++i)
        *CheckBoxSetting(i) = IsChecked(dialog, kCheckBoxes[i]);
    Settings.WindowOpacity = (int)SendDlgItemMessageA(dialog, IDC_OPT_OPACITY, TBM_GETPOS, 0, 0);
    Settings.DiffHashColor = SwatchColour(dialog, IDC_OPT_DIFF_COLOR);
    Settings.SameHashColor = SwatchColour(dialog, IDC_OPT_SAME_HASH_COLOR);
    Settings.SameFileColor = SwatchColour(dialog, IDC_OPT_SAME_FILE_COLOR);
    // A list left without a selection (a resource module's) keeps the rule.
    LRESULT choice = SendDlgItemMessageA(dialog, IDC_OPT_MULTIPLE_FILES, CB_GETCURSEL, 0, 0);
    Settings.MultipleFiles =
        choice == CB_ERR ? BatchStopRuleOf(Settings.MultipleFiles) : (int)choice;
}

void WriteSettings() {
    const char* section = kSettingsSection;
    bool registry = Settings.UseRegistry;
    WriteSettingInt(section, kKeyStartInFullMode, Settings.StartInFullMode, IniPath, registry);
    WriteSettingInt(section, kKeyGetFileOnStart, Settings.GetFileOnStart, IniPath, registry);
    WriteSettingInt(section, kKeyStartInTopMost, Settings.StartInTopMost, IniPath, registry);
    WriteSettingInt(section, kKeyRememberPosition, Settings.RememberPosition, IniPath, registry);
    WriteSettingInt(section, kKeyTransparent, Settings.Transparent, IniPath, registry);
    WriteSettingInt(section, kKeyWindowOpacity, Settings.WindowOpacity, IniPath, registry);
    WriteSettingColor(section, kKeySameFileColor, Settings.SameFileColor, IniPath, registry);
    WriteSettingColor(section, kKeySameHashColor, Settings.SameHashColor, IniPath, registry);
    WriteSettingColor(section, kKeyDiffHashColor, Settings.DiffHashColor, IniPath, registry);
    WriteSettingInt(section, kKeyMultipleFiles, Settings.MultipleFiles, IniPath, registry);
    FlushSettings(IniPath, registry);
}

INT_PTR OnOk(HWND dialog) {
    ReadControls(dialog);
    WriteSettings();
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (TransparencyAvailable)
        SetWindowOpacity(owner, Settings.Transparent ? Settings.WindowOpacity : kOpacityMax);
    InvalidateRect(owner, nullptr, TRUE);
    EndDialog(dialog, IDOK);
    return TRUE;
}

INT_PTR OnSwatch(HWND dialog, int id) {
    COLORREF colour = SwatchColour(dialog, id);
    if (PickColour(dialog, &colour)) {
        SetSwatchColour(dialog, id, colour);
        InvalidateRect(GetDlgItem(dialog, id), nullptr, TRUE);
    }
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    int id = LOWORD(wParam);
    switch (id) {
    case IDC_OPT_TRANSPARENT:
        EnableOpacity(dialog, IsChecked(dialog, IDC_OPT_TRANSPARENT));
        return TRUE;
    case IDC_OPT_DIFF_COLOR:
    case IDC_OPT_SAME_HASH_COLOR:
    case IDC_OPT_SAME_FILE_COLOR:
        return OnSwatch(dialog, id);
    case IDOK:
        return OnOk(dialog);
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnDrawItem(const DRAWITEMSTRUCT* item) {
    bool swatch = item->CtlID == IDC_OPT_DIFF_COLOR || item->CtlID == IDC_OPT_SAME_HASH_COLOR ||
                  item->CtlID == IDC_OPT_SAME_FILE_COLOR;
    if (!swatch || !(item->itemAction & ODA_DRAWENTIRE))
        return TRUE;
    COLORREF colour = (COLORREF)GetWindowLongPtrA(item->hwndItem, GWLP_USERDATA) & kColourMask;
    ScopedGdiObject brush(CreateSolidBrush(colour));
    RECT area = item->rcItem;
    FillRect(item->hDC, &area, static_cast<HBRUSH>(brush.Get()));
    DrawEdge(item->hDC, &area, BDR_SUNKENOUTER, BF_RECT);
    return TRUE;
}

INT_PTR OnDestroy() {
    if (Bitmap)
        DeleteObject(Bitmap);
    Bitmap = nullptr;
    return TRUE;
}

} // namespace

bool PickColour(HWND owner, COLORREF* colour) {
    CHOOSECOLORA choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = *colour;
    choice.lpCustColors = CustomColours;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choice))
        return false;
    *colour = choice.rgbResult;
    return true;
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    case WM_HSCROLL:
        UpdateOpacityText(dialog);
        return TRUE;
    case WM_DRAWITEM:
        return OnDrawItem((const DRAWITEMSTRUCT*)lParam);
    case WM_LBUTTONDOWN:
        return DragByFreeSpot(dialog);
    case WM_DPICHANGED:
        return OnDpiChanged(dialog, &Dpi, wParam, (const RECT*)lParam);
    case UM_DPI_SETTLED:
        return OnDpiSettled(dialog);
    case WM_DESTROY:
        return OnDestroy();
    default:
        return FALSE;
    }
}

INT_PTR ShowOptionsDialog(HWND owner) {
    return ShowModuleDialog(MAKEINTRESOURCEA(IDD_OPTIONS), owner, OptionsDialogProc);
}
