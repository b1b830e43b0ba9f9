#include "ui/Comparison.h"

#include "engine/Md5.h"
#include "system/FileFacts.h"
#include "system/HexText.h"
#include "system/Redirection.h"
#include "system/Settings.h"
#include "system/WidePath.h"
#include "jobs/JobStatus.h"
#include "ui/FileTooltip.h"
#include "ui/MainWindow.h"
#include "res/resource.h"

HashFieldInfo FieldInfo[2];
COLORREF FieldColour;

namespace {

constexpr const char* kOpenText = "Open";
constexpr const char* kCompareText = "Compare";
constexpr const char* kIdenticalText =
    "MD5 checksums are identical.\n\nDo you want clear the checksums?";
constexpr const char* kNotIdenticalText =
    "MD5 checksums are not identical.\n\nDo you want clear the checksums?";

// The brush last handed out for field 2, and the colour it was made in.
HBRUSH field2Brush;
COLORREF field2BrushColour;

bool HoldsFullChecksum(HWND field) {
    return GetWindowTextLengthA(field) == kChecksumLength;
}

COLORREF ComparisonColour() {
    const HashFieldInfo& first = FieldInfo[0];
    const HashFieldInfo& second = FieldInfo[1];
    if (lstrcmpiA(first.hash, second.hash) != 0)
        return Settings.DiffHashColor;
    if (first.path[0] == '\0' || second.path[0] == '\0')
        return Settings.SameHashColor;
    bool sameFacts = first.sizeLow == second.sizeLow && first.sizeHigh == second.sizeHigh &&
                     first.modified.dwLowDateTime == second.modified.dwLowDateTime &&
                     first.modified.dwHighDateTime == second.modified.dwHighDateTime;
    if (sameFacts && lstrcmpiA(first.path, second.path) == 0)
        return Settings.SameFileColor;
    return Settings.SameHashColor;
}

// The full short path of path into record (kPathTextSize characters): the
// full path itself when it cannot be shortened, empty when not even that.
void StoreShortPath(const char* path, char* record) {
    lstrcpynA(record, ShortPath(path).c_str(), kPathTextSize);
}

// The verdict on the pair: the Open/Compare caption and field 2's colour.
// The caption says what a press does: only a comparable pair compares.
void UpdateVerdict(HWND hash1, HWND hash2, HWND open) {
    if (!HoldsFullChecksum(hash1) || !HoldsFullChecksum(hash2)) {
        SetWindowTextA(open, kOpenText);
        FieldColour = GetSysColor(COLOR_WINDOW);
    } else if (IsHexText(FieldInfo[0].hash) && IsHexText(FieldInfo[1].hash)) {
        SetWindowTextA(open, kCompareText);
        FieldColour = ComparisonColour();
    } else {
        SetWindowTextA(open, kOpenText);
        FieldColour = InvalidChecksumColour;
    }
}

} // namespace

void SetHashField(HWND field, HashFieldInfo* info, const char* checksum, const char* path,
                  bool keepText) {
    info->path[0] = '\0';
    info->sizeLow = info->sizeHigh = kUnknownHalf;
    info->modified.dwLowDateTime = info->modified.dwHighDateTime = kUnknownHalf;
    lstrcpynA(info->hash, checksum, sizeof info->hash);
    if (path != nullptr) {
        // The facts of the very file named, also under the system folder.
        RedirectionOff off;
        DWORD low = 0, high = 0;
        if (QueryFileSize(path, &low, &high)) {
            info->sizeLow = low;
            info->sizeHigh = high;
        }
        FILETIME modified;
        if (QueryFileTime(path, &modified))
            info->modified = modified;
        StoreShortPath(path, info->path);
    }
    if (!keepText)
        SetWindowTextA(field, info->hash);
}

void ProcessFieldChange(HWND field) {
    HWND window = GetParent(field);
    HWND hash1 = GetDlgItem(window, IDC_HASH1);
    HWND hash2 = GetDlgItem(window, IDC_HASH2);
    bool isField1 = GetDlgCtrlID(field) == IDC_HASH1;
    HashFieldInfo* info = &FieldInfo[isField1 ? 0 : 1];

    if (HoldsFullChecksum(field)) {
        char text[64];
        GetWindowTextA(field, text, sizeof text);
        if (!isField1 && GetWindowTextLengthA(hash1) == 0) {
            // A lone checksum belongs in field 1; each change below runs this again.
            if (IsHexText(text)) {
                SetWindowTextA(hash1, text);
                SetWindowTextA(field, "");
            } else {
                // The record follows the text, or a later verdict would judge
                // the stale checksum behind this invalid one.
                if (lstrcmpiA(text, info->hash) != 0)
                    SetHashField(field, info, text, nullptr, true);
                RefreshFieldTooltip(field, info);
                FieldColour = InvalidChecksumColour;
            }
            InvalidateRect(hash2, nullptr, TRUE);
            return;
        }
        if (lstrcmpiA(text, info->hash) != 0)
            SetHashField(field, info, text, nullptr, true);
        RefreshFieldTooltip(field, info);
    } else {
        SetFieldTooltip(field, "");
    }
    UpdateVerdict(hash1, hash2, GetDlgItem(window, IDC_OPEN));
    InvalidateRect(hash2, nullptr, TRUE);
}

HBRUSH FieldColourBrush(HDC context, HWND control) {
    if (GetDlgCtrlID(control) != IDC_HASH2)
        return nullptr;
    SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(context, TRANSPARENT);
    SetBkColor(context, FieldColour);
    // Paints ask often; a new brush is needed only when the colour changed.
    if (field2Brush == nullptr || field2BrushColour != FieldColour) {
        DeleteFieldBrush();
        field2Brush = CreateSolidBrush(FieldColour);
        field2BrushColour = FieldColour;
    }
    return field2Brush;
}

void DeleteFieldBrush() {
    if (field2Brush != nullptr)
        DeleteObject(field2Brush);
    field2Brush = nullptr;
}

bool IsPairComparable() {
    HWND hash1 = GetDlgItem(MainWindow, IDC_HASH1);
    HWND hash2 = GetDlgItem(MainWindow, IDC_HASH2);
    return IsField2Shown(MainWindow) && HoldsFullChecksum(hash1) && HoldsFullChecksum(hash2) &&
           IsHexText(FieldInfo[0].hash) && IsHexText(FieldInfo[1].hash);
}

void CompareFields() {
    int answer;
    if (lstrcmpiA(FieldInfo[0].hash, FieldInfo[1].hash) == 0)
        answer =
            MessageBoxA(MainWindow, kIdenticalText, kProgramName, MB_YESNO | MB_ICONINFORMATION);
    else
        answer = MessageBoxA(MainWindow, kNotIdenticalText, kProgramName,
                             MB_YESNO | MB_ICONHAND | MB_DEFBUTTON2);
    // Posted, so both fields clear after the box has gone.
    if (answer == IDYES)
        PostMessageA(MainWindow, WM_COMMAND, IDM_CLEAR_BOTH, 0);
}
