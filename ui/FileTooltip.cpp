#include "ui/FileTooltip.h"

#include "system/Redirection.h"
#include "system/FileFacts.h"
#include "system/OptionalFunctions.h"
#include "ui/Comparison.h"
#include "ui/DpiScale.h"
#include "res/resource.h"

#include <commctrl.h>

#include <string>

HWND FileTooltip = nullptr;

namespace {

// Pixels at 96 DPI.
constexpr int kMaxTipWidth = 800;
constexpr int kInitialDelayMs = 250;
constexpr int kAutoPopDelayMs = 12000;
constexpr int kReshowDelayMs = 100;
constexpr RECT kTipMargin = {5, 2, 5, 2};
constexpr int kFactTextSize = 64;

// Reused by every call; the tools are the fields themselves (TTF_IDISHWND).
// The V2 size keeps the record valid for every common-controls version.
TOOLINFOA ToolInfo;
char EmptyText[] = "";
// The tips' font made for the main window's DPI; null where the system
// gives none per DPI (it then uses the system's own).
HFONT TipFont = nullptr;

// The system's tooltip font at dpi, or null where the system cannot say.
HFONT CreateTipFont(int dpi) {
    // The fuller record of later systems, which every system takes.
    struct {
        NONCLIENTMETRICSW metrics;
        int paddedBorderWidth;
    } record = {};
    record.metrics.cbSize = sizeof record;
    if (!OptSystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof record, &record, 0,
                                       (UINT)dpi))
        return nullptr;
    return CreateFontIndirectW(&record.metrics.lfStatusFont);
}

void AddFieldTool(HWND field) {
    ToolInfo.uId = reinterpret_cast<UINT_PTR>(field);
    ToolInfo.lpszText = EmptyText;
    SendMessageA(FileTooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ToolInfo));
}

} // namespace

// Not owned by the main window: under Wine a window with an owned popup no
// longer becomes topmost through SetWindowPos(HWND_TOPMOST), which would
// break "Always on top". TTS_ALWAYSTIP makes the owner's activation moot.
void CreateFileTooltip(HWND mainWindow) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    FileTooltip = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                  WS_POPUP | WS_BORDER | TTS_ALWAYSTIP | TTS_NOPREFIX |
                                      TTS_NOANIMATE | TTS_NOFADE,
                                  0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    ZeroMemory(&ToolInfo, sizeof ToolInfo);
    ToolInfo.cbSize = TTTOOLINFOA_V2_SIZE;
    ToolInfo.uFlags = TTF_IDISHWND | TTF_CENTERTIP | TTF_SUBCLASS;
    ToolInfo.hwnd = mainWindow;
    ToolInfo.hinst = instance;
    ToolInfo.lpszText = EmptyText;
    if (!FileTooltip)
        return;

    SendMessageA(FileTooltip, TTM_SETDELAYTIME, TTDT_INITIAL, kInitialDelayMs);
    SendMessageA(FileTooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kAutoPopDelayMs);
    SendMessageA(FileTooltip, TTM_SETDELAYTIME, TTDT_RESHOW, kReshowDelayMs);
    FitFileTooltipToDpi(WindowDpi(mainWindow));
    AddFieldTool(GetDlgItem(mainWindow, IDC_HASH1));
    AddFieldTool(GetDlgItem(mainWindow, IDC_HASH2));
}

void FitFileTooltipToDpi(int dpi) {
    if (!FileTooltip)
        return;
    SendMessageA(FileTooltip, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(kMaxTipWidth, dpi));
    RECT margin = {ScaleForDpi(kTipMargin.left, dpi), ScaleForDpi(kTipMargin.top, dpi),
                   ScaleForDpi(kTipMargin.right, dpi), ScaleForDpi(kTipMargin.bottom, dpi)};
    SendMessageA(FileTooltip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    HFONT font = CreateTipFont(dpi);
    if (!font)
        return;
    SendMessageA(FileTooltip, WM_SETFONT, (WPARAM)font, FALSE);
    if (TipFont)
        DeleteObject(TipFont);
    TipFont = font;
}

void DestroyFileTooltip() {
    if (FileTooltip)
        DestroyWindow(FileTooltip);
    FileTooltip = nullptr;
    if (TipFont)
        DeleteObject(TipFont);
    TipFont = nullptr;
}

void SetFieldTooltip(HWND field, const char* text) {
    ToolInfo.uId = reinterpret_cast<UINT_PTR>(field);
    ToolInfo.lpszText = const_cast<char*>(text);
    SendMessageA(FileTooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ToolInfo));
    ToolInfo.lpszText = EmptyText;
}

// Up to three lines: the long path, "Modified: ..." and "Size: ...", the last
// two only for facts known when the checksum was stored.
// The path is shown whole, however long.
void RefreshFieldTooltip(HWND field, const HashFieldInfo* info) {
    std::string text;
    if (info->path[0] != '\0') {
        {
            // The path as the jobs read it: a 32-bit build's System32 path
            // names System32's file, not its 32-bit namesake.
            RedirectionOff off;
            text = ToLongPath(info->path);
        }
        char fact[kFactTextSize];
        if (IsFactKnown(info->modified.dwLowDateTime, info->modified.dwHighDateTime)) {
            text += "\r\nModified: ";
            text += FormatFileTime(fact, &info->modified);
        }
        if (IsFactKnown(info->sizeLow, info->sizeHigh)) {
            text += "\r\nSize: ";
            text += FormatFileSize(fact, info->sizeLow, info->sizeHigh);
        }
    }
    SetFieldTooltip(field, text.c_str());
}
