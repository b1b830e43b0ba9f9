// The main window: status line, two hash fields, Open button, the arrows and
// the menu picture, and the command table of the whole program.
#include "ui/MainWindow.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "engine/Md5.h"
#include "system/AnsiPath.h"
#include "system/ListPath.h"
#include "system/OptionalFunctions.h"
#include "system/Placement.h"
#include "system/Settings.h"
#include "jobs/BenchmarkJob.h"
#include "jobs/CommandLine.h"
#include "jobs/CreateListJob.h"
#include "jobs/HashFilesJob.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"
#include "jobs/SearchJob.h"
#include "jobs/VerifyJob.h"
#include "ui/AboutDialog.h"
#include "ui/Comparison.h"
#include "ui/DialogDrag.h"
#include "ui/DpiScale.h"
#include "ui/FileTooltip.h"
#include "ui/HashField.h"
#include "ui/HashStringDialog.h"
#include "ui/ListWindow.h"
#include "ui/OptionsDialog.h"
#include "ui/Pickers.h"
#include "ui/ResourceModule.h"
#include "ui/StatusButton.h"
#include "res/resource.h"

HWND MainWindow;
HWND Hash1Field;
HWND Hash2Field;
HWND OpenButton;
HWND StatusButton;
HMENU EditMenu;

namespace {

// The window's height changes by this many pixels at 96 DPI between its two
// modes, whatever the dialog font; in proportion at other DPIs.
constexpr int kExpandHeight = 39;

HMENU LoadedMenu; // IDR_MAIN_MENU; its popups are main_menu and EditMenu
HMENU MainMenu;
HMENU SystemMenu;
HICON WindowIcon;
HBITMAP ExpandBitmap;
HBITMAP CollapseBitmap;
HBITMAP MenuBitmap;
int MainDpi; // as last laid out

// Run-time toggles; they start from the settings and are never saved.
bool Topmost;
bool TransparentOn;

// Kept for the whole run as the folder picker's starting point.
std::string SearchFolder;
// The same for the folder of a new checksum list.
std::string ListedFolder;
// Folders handed with /create whose save-file dialog has not yet opened, and
// whether one is open: its own message loop must not open the next.
std::vector<std::string> PendingCreates;
bool AskingForTarget;

// The window is expanded exactly when field 2 is shown. Its own style bit is
// read, so the answer holds while the window itself is still hidden.
bool IsExpanded() {
    return IsField2Shown(MainWindow);
}

bool IsFieldEmpty(HWND field) {
    return GetWindowTextLengthA(field) == 0;
}

void SetExpanded(HWND window, bool expand) {
    RECT outer;
    GetWindowRect(window, &outer);
    int show = expand ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(window, IDC_EXPAND), expand ? SW_HIDE : SW_SHOW);
    ShowWindow(Hash2Field, show);
    ShowWindow(OpenButton, show);
    ShowWindow(GetDlgItem(window, IDC_COLLAPSE), show);
    ShowWindow(GetDlgItem(window, IDC_MENU), show);
    int step = ScaleForDpi(kExpandHeight, MainDpi);
    int height = outer.bottom - outer.top + (expand ? step : -step);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, height,
                 SWP_NOMOVE | SWP_NOZORDER);
}

// With visual styles the button draws its own frame; without them it gets
// a static edge so that it matches the fields.
void ApplyOpenButtonFrame() {
    LONG exStyle = GetWindowLongA(OpenButton, GWL_EXSTYLE);
    if (OptIsThemeActive())
        exStyle &= ~WS_EX_STATICEDGE;
    else
        exStyle |= WS_EX_STATICEDGE;
    SetWindowLongA(OpenButton, GWL_EXSTYLE, exStyle);
    SetWindowPos(OpenButton, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void ApplyTopmost(HWND window) {
    SetWindowPos(window, Topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void TrackMainMenu(HWND window, int x, int y) {
    if (MainMenu)
        TrackPopupMenu(MainMenu, 0, x, y, 0, window, nullptr);
}

void AddSystemMenuItems(HWND window) {
    SystemMenu = GetSystemMenu(window, FALSE);
    if (!SystemMenu)
        return;
    // Each insertion goes to the top, so the last one ends up first.
    InsertMenuA(SystemMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(SystemMenu, 0, MF_BYPOSITION | MF_STRING, IDM_ALWAYS_ON_TOP, "&Always on &top");
    InsertMenuA(SystemMenu, 0, MF_BYPOSITION | MF_STRING, IDM_OPTIONS, "&Options...");
}

// Loaded afresh for each DPI, so that a picture is never scaled twice.
void LoadWindowPictures(HWND window) {
    const UINT flags = LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT;
    const struct {
        int control;
        HBITMAP bitmap;
        HBITMAP* owned;
    } pictures[] = {
        {IDC_EXPAND,
         (HBITMAP)LoadModuleImage(MAKEINTRESOURCEA(IDB_EXPAND), IMAGE_BITMAP, 0, 0, flags),
         &ExpandBitmap},
        {IDC_COLLAPSE,
         (HBITMAP)LoadModuleImage(MAKEINTRESOURCEA(IDB_COLLAPSE), IMAGE_BITMAP, 0, 0, flags),
         &CollapseBitmap},
        {IDC_MENU, LoadModuleBitmap(MAKEINTRESOURCEA(IDB_MENU)), &MenuBitmap},
    };
    for (const auto& picture : pictures)
        ShowPictureForDpi(window, picture.control, picture.bitmap, MainDpi, picture.owned);
}

// The icon image of the size the system shows at the window's DPI.
void LoadWindowIcon(HWND window) {
    HICON icon = LoadModuleIcon(MAKEINTRESOURCEA(IDI_MAIN), MetricForDpi(SM_CXICON, MainDpi));
    if (!icon)
        return;
    SendMessageA(window, WM_SETICON, ICON_BIG, (LPARAM)icon);
    if (WindowIcon)
        DestroyIcon(WindowIcon);
    WindowIcon = icon;
}

// The work area of the monitor that shows most of rect, or of the nearest
// one; the primary screen's where the system has no monitor functions (it
// then has one screen).
RECT NearestWorkArea(const RECT& rect) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    HMONITOR monitor = OptMonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    if (monitor && OptGetMonitorInfo(monitor, &info))
        return info.rcWork;
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return area;
}

// The stored place, unless too little of the caption would show on any
// screen (a monitor unplugged, a smaller resolution): the window then moves
// into the work area of the nearest monitor, where the user can reach it.
// Yields the window's size there.
SIZE MoveReachably(HWND window, int left, int top) {
    RECT outer;
    GetWindowRect(window, &outer);
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    int caption = client.y - outer.top; // frame and title bar

    PlaceRect strip = CaptionStrip(left, top, width, caption);
    RECT stripRect = {strip.left, strip.top, strip.right, strip.bottom};
    RECT work = NearestWorkArea(stripRect);
    KeepReachable(&left, &top, width, height, caption,
                  PlaceRect{work.left, work.top, work.right, work.bottom});
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    GetWindowRect(window, &outer);
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

void MoveToRememberedPlace(HWND window) {
    int top = ReadSettingInt(kSettingsSection, kKeyWindowTop, 0, IniPath, Settings.UseRegistry);
    int left = ReadSettingInt(kSettingsSection, kKeyWindowLeft, 0, IniPath, Settings.UseRegistry);
    RECT before;
    GetWindowRect(window, &before);
    SIZE after = MoveReachably(window, left, top);
    // On a monitor of another DPI the window took that DPI's size, and the
    // system put it where it saw fit: placed again, by its new size.
    if (after.cx != before.right - before.left || after.cy != before.bottom - before.top)
        MoveReachably(window, left, top);
}

// --- Commands -------------------------------------------------------------

void CloseMainWindow(HWND window) {
    if (Settings.RememberPosition) {
        RECT outer;
        GetWindowRect(window, &outer);
        WriteSettingInt(kSettingsSection, kKeyWindowLeft, outer.left, IniPath,
                        Settings.UseRegistry);
        WriteSettingInt(kSettingsSection, kKeyWindowTop, outer.top, IniPath, Settings.UseRegistry);
    }
    DestroyWindow(window);
}

void ExpandCommand(HWND window) {
    if (!IsExpanded())
        SetExpanded(window, true);
}

void CollapseCommand(HWND window) {
    if (IsExpanded())
        SetExpanded(window, false);
}

void MenuPictureCommand(HWND window) {
    RECT picture;
    GetWindowRect(GetDlgItem(window, IDC_MENU), &picture);
    TrackMainMenu(window, picture.left, picture.bottom);
}

// The cancel and continue protocol of the job slot.
void StatusCommand(HWND window) {
    switch (JobState.load()) {
    case Idle:
        return;
    case NextPending:
        JobState = Idle;
        SendMessageA(StatusButton, WM_CANCELMODE, 0, 0);
        ReleaseRunToken();
        return;
    case SearchPaused:
        SendMessageA(StatusButton, WM_CANCELMODE, 0, 0);
        ContinueSearch();
        return;
    default:
        JobState = Idle; // the running job notices it and stops
        return;
    }
}

void OpenFileCommand(HWND window) {
    std::string path;
    if (PickFile(window, &path)) {
        StartHashFileJob(path.c_str());
        ShowArrivedCount();
    }
}

void OpenCommand(HWND window) {
    if (IsPairComparable())
        CompareFields();
    else
        OpenFileCommand(window);
}

void ClearBothCommand(HWND window) {
    SendMessageA(window, WM_COMMAND, IDM_CLEAR_HASH1, 0);
    SendMessageA(window, WM_COMMAND, IDM_CLEAR_HASH2, 0);
}

void ClearHash1Command(HWND) {
    SetWindowTextA(Hash1Field, "");
}

void ClearHash2Command(HWND) {
    SetWindowTextA(Hash2Field, "");
}

void SearchCommand(HWND window) {
    if (!IsExpanded())
        SetExpanded(window, true); // a found file is shown in field 2
    if (GetWindowTextLengthA(Hash1Field) != kChecksumLength) {
        MessageBoxA(window, "Set checksum to search to the first field.", kProgramName,
                    MB_ICONINFORMATION | MB_OK);
        return;
    }
    if (PickFolder(window, SearchFolder, &SearchFolder))
        StartJob(SearchFolder.c_str(), SearchThread);
    if (SearchFolder.size() == 2 && SearchFolder[1] == ':')
        SearchFolder += '\\';
}

// Asks where to save the list of folder, then queues the job.
void AskForListTarget(HWND window, const std::string& folder) {
    const std::string full = FullPath(folder.c_str());
    std::wstring wide;
    if (full.empty() || !WideFromText(full.c_str(), CP_ACP, &wide)) {
        ShowErrorReport(window, kListWriteFailure, folder.c_str());
        return;
    }
    std::string target;
    AskingForTarget = true;
    const bool chosen = PickListTarget(window, full, ProposedListName(wide), &target);
    AskingForTarget = false;
    if (chosen && !StartCreateListJob(full.c_str(), target.c_str()))
        ShowErrorReport(window, kListWriteFailure, target.c_str());
}

void CreateListCommand(HWND window) {
    if (PickFolder(window, ListedFolder, &ListedFolder))
        AskForListTarget(window, ListedFolder);
}

void VerifyListCommand(HWND window) {
    std::string path;
    if (PickFile(window, &path, kChecksumListFilter))
        StartVerifyJob(path.c_str());
}

void BenchmarkCommand(HWND window) {
    std::string path;
    if (PickFile(window, &path))
        StartJob(path.c_str(), BenchmarkThread);
}

// Not under the busy rule: a batch is busy by nature.
void StopBatchCommand(HWND) {
    if (IsBatchRunning())
        StopBatch();
}

void TransparencyCommand(HWND window) {
    TransparentOn = !TransparentOn;
    SetWindowOpacity(window, TransparentOn ? Settings.WindowOpacity : 255);
}

void HashStringCommand(HWND window) {
    ShowHashStringDialog(window);
}

// Whatever the dialog's result, the toggle follows the setting afterwards.
void OptionsCommand(HWND window) {
    ShowOptionsDialog(window);
    TransparentOn = Settings.Transparent;
}

void AboutCommand(HWND window) {
    ShowAboutDialog(window);
}

void AlwaysOnTopCommand(HWND window) {
    Topmost = !Topmost;
    ApplyTopmost(window);
}

enum BusyRule { RunsWhileBusy, IgnoredWhileBusy };

struct Command {
    WORD id;
    BusyRule busy;
    void (*action)(HWND window);
};

const Command kCommands[] = {
    {IDCANCEL, RunsWhileBusy, CloseMainWindow},
    {IDC_OPEN, IgnoredWhileBusy, OpenCommand},
    {IDM_OPEN_FILE, IgnoredWhileBusy, OpenFileCommand},
    {IDC_EXPAND, RunsWhileBusy, ExpandCommand},
    {IDC_COLLAPSE, RunsWhileBusy, CollapseCommand},
    {IDC_MENU, RunsWhileBusy, MenuPictureCommand},
    {IDC_STATUS, RunsWhileBusy, StatusCommand}, // does nothing itself while Idle
    {IDM_CLEAR_BOTH, IgnoredWhileBusy, ClearBothCommand},
    {IDM_HASH_STRING, IgnoredWhileBusy, HashStringCommand},
    {IDM_SEARCH_HASH, IgnoredWhileBusy, SearchCommand},
    {IDM_CLEAR_HASH1, IgnoredWhileBusy, ClearHash1Command},
    {IDM_CLEAR_HASH2, IgnoredWhileBusy, ClearHash2Command},
    {IDM_BENCHMARK, IgnoredWhileBusy, BenchmarkCommand},
    {IDM_VERIFY_LIST, IgnoredWhileBusy, VerifyListCommand},
    {IDM_STOP_BATCH, RunsWhileBusy, StopBatchCommand},
    {IDM_TRANSPARENCY, RunsWhileBusy, TransparencyCommand},
    {IDM_ABOUT, IgnoredWhileBusy, AboutCommand},
    {IDM_ALWAYS_ON_TOP, RunsWhileBusy, AlwaysOnTopCommand},
    {IDM_OPTIONS, IgnoredWhileBusy, OptionsCommand},
    {IDM_CREATE_LIST, IgnoredWhileBusy, CreateListCommand},
};

// --- Message handlers -------------------------------------------------------

INT_PTR OnInitDialog(HWND window) {
    MainWindow = window;
    SetPropA(window, kMainWindowMark, window);
    FieldColour = GetSysColor(COLOR_WINDOW); // field 2 starts without a verdict
    Hash1Field = GetDlgItem(window, IDC_HASH1);
    Hash2Field = GetDlgItem(window, IDC_HASH2);
    OpenButton = GetDlgItem(window, IDC_OPEN);
    StatusButton = GetDlgItem(window, IDC_STATUS);

    MainDpi = WindowDpi(window);
    LoadWindowIcon(window);

    MainMenu = nullptr;
    EditMenu = nullptr;
    LoadedMenu = LoadModuleMenu(MAKEINTRESOURCEA(IDR_MAIN_MENU));
    if (LoadedMenu) {
        MainMenu = GetSubMenu(LoadedMenu, 0);
        EditMenu = GetSubMenu(LoadedMenu, 1);
        AddLateMenuItems(MainMenu);
        AddSystemMenuItems(window);
    }

    LoadWindowPictures(window);

    SetWindowTextA(StatusButton, kProgramName);
    EnableWindow(StatusButton, FALSE);
    SendMessageA(Hash1Field, EM_LIMITTEXT, kChecksumLength, 0);
    SendMessageA(Hash2Field, EM_LIMITTEXT, kChecksumLength, 0);
    SubclassHashField(Hash1Field);
    SubclassHashField(Hash2Field);
    SubclassStatusButton(StatusButton);

    if (Settings.RememberPosition)
        MoveToRememberedPlace(window);

    Topmost = Settings.StartInTopMost;
    if (Topmost)
        ApplyTopmost(window);

    ShowWindow(GetDlgItem(window, IDC_EXPAND), Settings.StartInFullMode ? SW_HIDE : SW_SHOW);
    if (!Settings.StartInFullMode)
        SetExpanded(window, false);

    TransparentOn = Settings.Transparent;
    if (TransparentOn)
        SetWindowOpacity(window, Settings.WindowOpacity);

    ApplyOpenButtonFrame();
    CreateFileTooltip(window);
    if (!PendingCreates.empty())
        PostMessageA(window, UM_CREATE_LIST, 0, 0);
    return FALSE;
}

INT_PTR OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    WORD id = LOWORD(wParam);
    if (HIWORD(wParam) == EN_CHANGE && (id == IDC_HASH1 || id == IDC_HASH2)) {
        ProcessFieldChange((HWND)lParam);
        return TRUE;
    }
    // An owner-drawn button follows the click of a double click with
    // BN_DOUBLECLICKED: acting on both would continue a job and at once
    // cancel it. The status line acts on its click alone.
    if (id == IDC_STATUS && HIWORD(wParam) != BN_CLICKED)
        return TRUE;
    for (const Command& command : kCommands) {
        if (command.id != id)
            continue;
        if (command.busy == IgnoredWhileBusy && IsJobActive())
            return TRUE;
        command.action(window);
        return TRUE;
    }
    return FALSE;
}

INT_PTR OnSysCommand(HWND window, WPARAM wParam) {
    // The system uses the low four bits of the value itself.
    const WPARAM command = wParam & 0xFFF0;
    if (command != IDM_ALWAYS_ON_TOP && command != IDM_OPTIONS)
        return FALSE;
    SendMessageA(window, WM_COMMAND, command, 0);
    return TRUE;
}

void SetMainMenuStates() {
    const UINT busyState = IsJobActive() ? MF_GRAYED : MF_ENABLED;
    const UINT guarded[] = {IDM_HASH_STRING, IDM_SEARCH_HASH, IDM_VERIFY_LIST, IDM_CREATE_LIST,
                            IDM_BENCHMARK,   IDM_OPTIONS,     IDM_ABOUT};
    for (UINT id : guarded)
        EnableMenuItem(MainMenu, id, MF_BYCOMMAND | busyState);
    EnableMenuItem(MainMenu, IDM_STOP_BATCH,
                   MF_BYCOMMAND | (IsBatchRunning() ? MF_ENABLED : MF_GRAYED));
    bool hash1Empty = IsFieldEmpty(Hash1Field);
    bool hash2Absent = !IsExpanded() || IsFieldEmpty(Hash2Field);
    EnableMenuItem(MainMenu, IDM_CLEAR_HASH1, MF_BYCOMMAND | (hash1Empty ? MF_GRAYED : busyState));
    EnableMenuItem(MainMenu, IDM_CLEAR_HASH2, MF_BYCOMMAND | (hash2Absent ? MF_GRAYED : busyState));
    EnableMenuItem(MainMenu, IDM_CLEAR_BOTH,
                   MF_BYCOMMAND | (hash1Empty || hash2Absent ? MF_GRAYED : busyState));
}

INT_PTR OnInitMenuPopup(HMENU popup) {
    if (popup && popup == SystemMenu) {
        CheckMenuItem(SystemMenu, IDM_ALWAYS_ON_TOP,
                      MF_BYCOMMAND | (Topmost ? MF_CHECKED : MF_UNCHECKED));
        return TRUE;
    }
    if (popup && popup == MainMenu) {
        SetMainMenuStates();
        return TRUE;
    }
    return FALSE;
}

INT_PTR OnDrawItem(WPARAM controlId, const DRAWITEMSTRUCT* item) {
    if (controlId != IDC_STATUS)
        return FALSE;
    DrawStatusButton(item);
    return TRUE;
}

INT_PTR OnRButtonDown(HWND window) {
    POINT cursor;
    GetCursorPos(&cursor);
    TrackMainMenu(window, cursor.x, cursor.y);
    return TRUE;
}

INT_PTR OnDropFiles(HWND window, HDROP drop) {
    SetForegroundWindow(window);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<wchar_t> wide;
    for (UINT index = 0; index < count; ++index) {
        // Asked for its length first, the whole path is handed on: a cut path
        // could name another existing file. Read in Unicode: the ANSI form
        // holds a look-alike of a name the code page cannot hold. Quoted (a
        // file name never holds a quote), it goes the command line's way,
        // with its rule for paths longer than a job takes.
        UINT length = DragQueryFileW(drop, index, nullptr, 0);
        wide.assign(length + 1, L'\0');
        DragQueryFileW(drop, index, wide.data(), length + 1);
        std::string path = '"' + AnsiFromWide(wide.data()) + '"';
        SplitCommandLine(path.c_str());
    }
    DragFinish(drop);
    return TRUE;
}

// The block comes from another process: read no byte beyond cbData, and
// end the text with a zero of our own.
INT_PTR OnCopyData(const COPYDATASTRUCT* block) {
    if (!block || !block->lpData || block->cbData == 0)
        return TRUE;
    std::vector<char> text((const char*)block->lpData, (const char*)block->lpData + block->cbData);
    text.push_back('\0');
    if (text[0] != '\0')
        SplitCommandLine(text.data());
    return TRUE;
}

// Posted: the save-file dialog of a /create opens from the message loop,
// never inside the hand-off that brought it.
INT_PTR OnCreateList(HWND window) {
    if (AskingForTarget || PendingCreates.empty())
        return TRUE;
    const std::string folder = PendingCreates.front();
    PendingCreates.erase(PendingCreates.begin());
    AskForListTarget(window, folder);
    if (!PendingCreates.empty())
        PostMessageA(window, UM_CREATE_LIST, 0, 0);
    return TRUE;
}

// After the dialog manager has laid the window out for the new DPI.
INT_PTR OnDpiSettled(HWND window) {
    LoadWindowPictures(window);
    LoadWindowIcon(window);
    FitFileTooltipToDpi(MainDpi);
    InvalidateRect(StatusButton, nullptr, TRUE);
    return TRUE;
}

INT_PTR OnThemeChanged() {
    ApplyOpenButtonFrame();
    return TRUE;
}

template <typename Handle, typename Release> void ReleaseHandle(Handle& handle, Release release) {
    if (handle)
        release(handle);
    handle = nullptr;
}

INT_PTR OnDestroy(HWND window) {
    RemovePropA(window, kMainWindowMark);
    DeleteFieldBrush();
    DestroyFileTooltip();
    ReleaseHandle(ExpandBitmap, DeleteObject);
    ReleaseHandle(CollapseBitmap, DeleteObject);
    ReleaseHandle(MenuBitmap, DeleteObject);
    ReleaseHandle(LoadedMenu, DestroyMenu);
    ReleaseHandle(WindowIcon, DestroyIcon);
    MainMenu = nullptr;
    EditMenu = nullptr;
    SystemMenu = nullptr;
    PostQuitMessage(0);
    return TRUE;
}

} // namespace

bool SetWindowOpacity(HWND window, int value) {
    if (value > 254) {
        SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
        return false;
    }
    if (value < 0)
        return true;
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    SetWindowLongA(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    if (OptSetLayeredWindowAttributes(window, 0, (BYTE)value, LWA_ALPHA))
        return true;
    // A layered window without its attributes would not be drawn at all.
    SetWindowLongA(window, GWL_EXSTYLE, exStyle);
    return false;
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window);
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam);
    case WM_INITMENUPOPUP:
        return OnInitMenuPopup((HMENU)wParam);
    case WM_CTLCOLOREDIT:
        return (INT_PTR)FieldColourBrush((HDC)wParam, (HWND)lParam);
    case WM_DRAWITEM:
        return OnDrawItem(wParam, (const DRAWITEMSTRUCT*)lParam);
    case WM_LBUTTONDOWN:
        return DragByFreeSpot(window);
    case WM_RBUTTONDOWN:
        return OnRButtonDown(window);
    case WM_DROPFILES:
        return OnDropFiles(window, (HDROP)wParam);
    case WM_COPYDATA:
        return OnCopyData((const COPYDATASTRUCT*)lParam);
    case WM_THEMECHANGED:
        return OnThemeChanged();
    case WM_GETDPISCALEDSIZE:
        return OnGetDpiScaledSize(window, MainDpi, wParam, (SIZE*)lParam);
    case WM_DPICHANGED:
        return OnDpiChanged(window, &MainDpi, wParam, (const RECT*)lParam);
    case UM_DPI_SETTLED:
        return OnDpiSettled(window);
    case UM_CREATE_LIST:
        return OnCreateList(window);
    case UM_OPEN_LIST:
        ShowListWindow(window, *reinterpret_cast<const std::shared_ptr<ListTable>*>(lParam));
        return TRUE;
    case WM_DESTROY:
        return OnDestroy(window);
    default:
        return FALSE;
    }
}

void RequestCreateList(const char* folder) {
    PendingCreates.push_back(folder);
    if (MainWindow)
        PostMessageA(MainWindow, UM_CREATE_LIST, 0, 0);
}
