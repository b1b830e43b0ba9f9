// The main dialog driven by messages in the test process.
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

#include "system/CommandLineScan.h"
#include "system/OptionalFunctions.h"
#include "ui/ResourceModule.h"
#include "jobs/JobRunner.h"
#include "res/resource.h"
#include "tests/support/AppDriver.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/MainWindowTestSupport.h"

namespace {

const char kChecksumA[] = "0123456789abcdef0123456789abcdef";
const char kChecksumB[] = "fedcba9876543210fedcba9876543210";

void Command(HWND window, WORD id, WORD notification = 0) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, notification), 0);
}
// What an accelerator sends.
void AcceleratorCommand(HWND window, WORD id) {
    Command(window, id, 1);
}

// A key press as the message loop sees it, run through the accelerator table
// with the given modifier keys held in this thread's keyboard state.
bool PressAccelerator(HWND window, HACCEL table, UINT key, UINT modifier = 0) {
    BYTE saved[256];
    GetKeyboardState(saved);
    BYTE held[256];
    std::memcpy(held, saved, sizeof held);
    if (modifier)
        held[modifier] = 0x80;
    SetKeyboardState(held);
    MSG message = {};
    message.hwnd = GetFocus() ? GetFocus() : window;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    message.lParam = 1 | (MapVirtualKeyA(key, 0) << 16);
    bool translated = TranslateAcceleratorA(window, table, &message) != 0;
    SetKeyboardState(saved);
    return translated;
}

// The first popup that the window is asked to prepare while open() runs; the
// menu is closed again as soon as it is open.
HMENU CapturedPopup;
LRESULT CALLBACK CapturePopup(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP && call->hwnd == MainWindow &&
        !CapturedPopup)
        CapturedPopup = (HMENU)call->wParam;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
void CALLBACK EndMenuOnceOpen(HWND, UINT, UINT_PTR, DWORD) {
    if (CapturedPopup)
        EndMenu();
}
template <typename Open> HMENU OpenMenuAndCapture(Open open) {
    CapturedPopup = nullptr;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CapturePopup, nullptr, GetCurrentThreadId());
    UINT_PTR timer = SetTimer(nullptr, 0, 20, EndMenuOnceOpen);
    open(); // returns when the menu has closed
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    return CapturedPopup;
}
HMENU OpenMainMenuByRightClick(HWND window) {
    return OpenMenuAndCapture([&] { SendMessageA(window, WM_RBUTTONDOWN, 0, MAKELPARAM(10, 10)); });
}
// Alt+Space.
HMENU OpenSystemMenu(HWND window) {
    return OpenMenuAndCapture([&] { SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, ' '); });
}

bool Grayed(HMENU menu, UINT id) {
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

std::string MenuText(HMENU menu, UINT position) {
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool TopmostChecked(HWND window) {
    HMENU system = GetSystemMenu(window, FALSE);
    SendMessageA(window, WM_INITMENUPOPUP, (WPARAM)system, MAKELPARAM(0, TRUE));
    return (GetMenuState(system, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool Layered(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

} // namespace

class MainWindowTest : public testing::Test, protected MainWindowTestBase {};

TEST_F(MainWindowTest, InitialisationSetsPicturesStatusLineAndLimits) {
    ASSERT_TRUE(CreateMain());
    EXPECT_EQ(MainWindow, window_);
    EXPECT_EQ(Hash1Field, GetDlgItem(window_, IDC_HASH1));
    EXPECT_EQ(Hash2Field, GetDlgItem(window_, IDC_HASH2));
    EXPECT_EQ(OpenButton, GetDlgItem(window_, IDC_OPEN));
    EXPECT_EQ(StatusButton, GetDlgItem(window_, IDC_STATUS));
    EXPECT_NE(EditMenu, nullptr);
    EXPECT_NE(SendMessageA(window_, WM_GETICON, ICON_BIG, 0), 0);
    for (int picture : {IDC_EXPAND, IDC_COLLAPSE, IDC_MENU})
        EXPECT_NE(SendDlgItemMessageA(window_, picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
            << picture;
    EXPECT_EQ(WindowText(StatusButton), "Calverin");
    EXPECT_FALSE(IsWindowEnabled(StatusButton));
    EXPECT_EQ(SendMessageA(Hash1Field, EM_GETLIMITTEXT, 0, 0), 32);
    EXPECT_EQ(SendMessageA(Hash2Field, EM_GETLIMITTEXT, 0, 0), 32);
    // The Open button's frame follows whether visual styles are active.
    bool staticEdge = (GetWindowLongA(OpenButton, GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0;
    EXPECT_EQ(staticEdge, !OptIsThemeActive());
    SetWindowLongA(OpenButton, GWL_EXSTYLE,
                   GetWindowLongA(OpenButton, GWL_EXSTYLE) ^ WS_EX_STATICEDGE);
    SendMessageA(window_, WM_THEMECHANGED, 0, 0);
    staticEdge = (GetWindowLongA(OpenButton, GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0;
    EXPECT_EQ(staticEdge, !OptIsThemeActive());
}

TEST_F(MainWindowTest, CollapsedStartIs39PixelsShorterAndArrowsChangeItOnce) {
    Settings.StartInFullMode = true;
    ASSERT_TRUE(CreateMain());
    int full = Height();
    EXPECT_TRUE(Visible(IDC_HASH2));
    EXPECT_FALSE(Visible(IDC_EXPAND));
    DestroyMain();

    Settings.StartInFullMode = false;
    ASSERT_TRUE(CreateMain());
    EXPECT_EQ(Height(), full - 39);
    EXPECT_TRUE(Visible(IDC_STATUS));
    EXPECT_TRUE(Visible(IDC_HASH1));
    EXPECT_TRUE(Visible(IDC_EXPAND));
    for (int hidden : {IDC_HASH2, IDC_OPEN, IDC_COLLAPSE, IDC_MENU})
        EXPECT_FALSE(Visible(hidden)) << hidden;

    HACCEL table = LoadModuleAccelerators(MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    SetFocus(Hash1Field);
    EXPECT_TRUE(PressAccelerator(window_, table, VK_DOWN));
    EXPECT_EQ(Height(), full);
    for (int shown : {IDC_HASH2, IDC_OPEN, IDC_COLLAPSE, IDC_MENU})
        EXPECT_TRUE(Visible(shown)) << shown;
    EXPECT_FALSE(Visible(IDC_EXPAND));
    AcceleratorCommand(window_, IDC_EXPAND); // a second Down
    EXPECT_EQ(Height(), full);
    Command(window_, IDC_COLLAPSE); // a click on the up arrow
    EXPECT_EQ(Height(), full - 39);
    EXPECT_TRUE(Visible(IDC_EXPAND));
    EXPECT_FALSE(Visible(IDC_HASH2));
    AcceleratorCommand(window_, IDC_COLLAPSE);
    EXPECT_EQ(Height(), full - 39);
    DestroyAcceleratorTable(table);
}

TEST_F(MainWindowTest, WhileBusyGuardedCommandsDoNothingAndMenuIsGreyed) {
    Settings.StartInFullMode = true;
    Settings.WindowOpacity = 128;
    ASSERT_TRUE(CreateMain());
    HMENU mainMenu = OpenMainMenuByRightClick(window_);
    ASSERT_NE(mainMenu, nullptr);
    SetWindowTextA(Hash1Field, kChecksumA);
    SetWindowTextA(Hash2Field, kChecksumB);
    int full = Height();

    JobState = Hashing;
    for (WORD id : {IDM_CLEAR_HASH1, IDM_CLEAR_HASH2, IDM_CLEAR_BOTH})
        Command(window_, id);
    AcceleratorCommand(window_, IDM_CLEAR_BOTH); // Ctrl+Delete
    EXPECT_EQ(WindowText(Hash1Field), kChecksumA);
    EXPECT_EQ(WindowText(Hash2Field), kChecksumB);
    {
        // Searching would ask for a checksum in field 1; busy, it must not.
        SetWindowTextA(Hash1Field, "");
        BoxCloser safetyNet("Calverin");
        AcceleratorCommand(window_, IDM_SEARCH_HASH);
        EXPECT_FALSE(safetyNet.Stop().found);
        SetWindowTextA(Hash1Field, kChecksumA);
    }
    // Ctrl+O, Ctrl+T, Ctrl+B, Enter (a pair: it would compare), Options and
    // About open no dialog or box while busy. One that opens all the same is
    // closed again, so the test goes on.
    for (WORD id : {IDM_OPEN_FILE, IDM_HASH_STRING, IDM_BENCHMARK, IDC_OPEN}) {
        bool opened = WithOwnedDialog(
            window_, [&] { AcceleratorCommand(window_, id); },
            [](HWND dialog) {
                PressButton(dialog, IDCANCEL);
                if (!WaitUntil([&] { return !IsWindow(dialog); }, 2000))
                    CloseBox(dialog);
            });
        EXPECT_FALSE(opened) << id;
    }
    for (WORD id : {IDM_OPTIONS, IDM_ABOUT}) {
        bool opened = WithOwnedDialog(
            window_, [&] { Command(window_, id); },
            [](HWND dialog) { PressButton(dialog, IDCANCEL); });
        EXPECT_FALSE(opened) << id;
    }
    EXPECT_FALSE(WithOwnedDialog(
        window_, [&] { SendMessageA(window_, WM_SYSCOMMAND, IDM_OPTIONS, 0); },
        [](HWND dialog) { PressButton(dialog, IDCANCEL); }))
        << "Options from the system menu";
    EXPECT_EQ(WindowText(Hash1Field), kChecksumA);
    EXPECT_EQ(WindowText(Hash2Field), kChecksumB);

    SendMessageA(window_, WM_INITMENUPOPUP, (WPARAM)mainMenu, 0);
    for (UINT id : {IDM_HASH_STRING, IDM_SEARCH_HASH, IDM_BENCHMARK, IDM_OPTIONS, IDM_ABOUT,
                    IDM_CLEAR_HASH1, IDM_CLEAR_HASH2, IDM_CLEAR_BOTH})
        EXPECT_TRUE(Grayed(mainMenu, id)) << id;

    // Still working while busy: Shift+T, Shift+O, Up, Down.
    HACCEL table = LoadModuleAccelerators(MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(PressAccelerator(window_, table, 'T', VK_SHIFT));
    EXPECT_TRUE(IsTopmost(window_));
    EXPECT_TRUE(PressAccelerator(window_, table, 'O', VK_SHIFT));
    EXPECT_TRUE(Layered(window_));
    AcceleratorCommand(window_, IDM_TRANSPARENCY);
    EXPECT_FALSE(Layered(window_));
    EXPECT_TRUE(PressAccelerator(window_, table, VK_UP));
    EXPECT_EQ(Height(), full - 39);
    AcceleratorCommand(window_, IDC_EXPAND);
    EXPECT_EQ(Height(), full);
    DestroyAcceleratorTable(table);

    JobState = Idle;
    SendMessageA(window_, WM_INITMENUPOPUP, (WPARAM)mainMenu, 0);
    for (UINT id : {IDM_HASH_STRING, IDM_SEARCH_HASH, IDM_BENCHMARK, IDM_OPTIONS, IDM_ABOUT,
                    IDM_CLEAR_HASH1, IDM_CLEAR_HASH2, IDM_CLEAR_BOTH})
        EXPECT_FALSE(Grayed(mainMenu, id)) << id;
    // The clear items also follow the fields.
    Command(window_, IDM_CLEAR_HASH2);
    EXPECT_EQ(WindowText(Hash2Field), "");
    SendMessageA(window_, WM_INITMENUPOPUP, (WPARAM)mainMenu, 0);
    EXPECT_FALSE(Grayed(mainMenu, IDM_CLEAR_HASH1));
    EXPECT_TRUE(Grayed(mainMenu, IDM_CLEAR_HASH2));
    EXPECT_TRUE(Grayed(mainMenu, IDM_CLEAR_BOTH));
    SetWindowTextA(Hash2Field, kChecksumB);
    Command(window_, IDC_COLLAPSE); // field 2 hidden counts as absent
    SendMessageA(window_, WM_INITMENUPOPUP, (WPARAM)mainMenu, 0);
    EXPECT_TRUE(Grayed(mainMenu, IDM_CLEAR_HASH2));
    EXPECT_TRUE(Grayed(mainMenu, IDM_CLEAR_BOTH));
    Command(window_, IDC_EXPAND);
    Command(window_, IDM_CLEAR_BOTH);
    EXPECT_EQ(WindowText(Hash1Field), "");
    EXPECT_EQ(WindowText(Hash2Field), "");
    SendMessageA(window_, WM_INITMENUPOPUP, (WPARAM)mainMenu, 0);
    EXPECT_TRUE(Grayed(mainMenu, IDM_CLEAR_HASH1));

    // Escape closes the window even while busy.
    JobState = Hashing;
    SetFocus(Hash1Field);
    MSG escape = {};
    escape.hwnd = Hash1Field;
    escape.message = WM_KEYDOWN;
    escape.wParam = VK_ESCAPE;
    escape.lParam = 1 | (MapVirtualKeyA(VK_ESCAPE, 0) << 16);
    EXPECT_TRUE(IsDialogMessageA(window_, &escape));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window_); }));
}

TEST_F(MainWindowTest, SystemMenuBeginsWithOwnItemsAndChecksTopmost) {
    Settings.StartInTopMost = false;
    ASSERT_TRUE(CreateMain());
    HMENU system = GetSystemMenu(window_, FALSE);
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(MenuText(system, 0), "&Options...");
    EXPECT_EQ(GetMenuItemID(system, 0), (UINT)IDM_OPTIONS);
    EXPECT_EQ(MenuText(system, 1), "&Always on &top");
    EXPECT_EQ(GetMenuItemID(system, 1), (UINT)IDM_ALWAYS_ON_TOP);
    EXPECT_TRUE(GetMenuState(system, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_GT(GetMenuItemCount(system), 3);

    EXPECT_FALSE(IsTopmost(window_));
    EXPECT_FALSE(TopmostChecked(window_));
    SendMessageA(window_, WM_SYSCOMMAND, IDM_ALWAYS_ON_TOP, 0);
    EXPECT_TRUE(IsTopmost(window_));
    EXPECT_TRUE(TopmostChecked(window_));
    AcceleratorCommand(window_, IDM_ALWAYS_ON_TOP); // Shift+T
    EXPECT_FALSE(IsTopmost(window_));
    EXPECT_FALSE(TopmostChecked(window_));
    // Opened for real, the system menu gets its check mark from the window.
    AcceleratorCommand(window_, IDM_ALWAYS_ON_TOP);
    CheckMenuItem(system, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND | MF_UNCHECKED);
    EXPECT_EQ(OpenSystemMenu(window_), system);
    EXPECT_TRUE(GetMenuState(system, IDM_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED);
    AcceleratorCommand(window_, IDM_ALWAYS_ON_TOP);
    // Options is not greyed while busy, but does nothing then.
    JobState = Searching;
    EXPECT_FALSE(GetMenuState(system, IDM_OPTIONS, MF_BYCOMMAND) & MF_GRAYED);
    JobState = Idle;
    DestroyMain();

    Settings.StartInTopMost = true;
    ASSERT_TRUE(CreateMain());
    EXPECT_TRUE(IsTopmost(window_));
    EXPECT_TRUE(TopmostChecked(window_));
    HACCEL table = LoadModuleAccelerators(MAKEINTRESOURCEA(IDR_ACCELERATORS));
    EXPECT_TRUE(PressAccelerator(window_, table, 'T', VK_SHIFT));
    EXPECT_FALSE(IsTopmost(window_));
    EXPECT_FALSE(TopmostChecked(window_));
    DestroyAcceleratorTable(table);
}

TEST_F(MainWindowTest, EscapeWithRememberPositionWritesItForTheNextStart) {
    ScratchFolder folder;
    std::string ini = folder.Path() + "\\Calverin.ini";
    lstrcpynA(IniPath, ini.c_str(), MAX_PATH);
    Settings.UseRegistry = false;

    Settings.RememberPosition = false;
    ASSERT_TRUE(CreateMain());
    Command(window_, IDCANCEL);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_FALSE(PathExists(ini.c_str())); // nothing written

    Settings.RememberPosition = true;
    ASSERT_TRUE(CreateMain());
    SetWindowPos(window_, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(window_, WM_CLOSE, 0, 0); // the caption's close button
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window_); }));
    EXPECT_EQ(GetPrivateProfileIntA("OPTIONS", "WindowLeft", -1, ini.c_str()), 123);
    EXPECT_EQ(GetPrivateProfileIntA("OPTIONS", "WindowTop", -1, ini.c_str()), 77);

    ASSERT_TRUE(CreateMain());
    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.left, 123);
    EXPECT_EQ(outer.top, 77);
}

TEST_F(MainWindowTest, RememberedPlaceOffEveryScreenOpensOnOne) {
    ScratchFolder folder;
    std::string ini = folder.Path() + "\\Calverin.ini";
    lstrcpynA(IniPath, ini.c_str(), MAX_PATH);
    Settings.UseRegistry = false;
    Settings.RememberPosition = true;
    RECT screen;
    screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    auto openAt = [&](const char* left, const char* top) {
        WritePrivateProfileStringA("OPTIONS", "WindowLeft", left, ini.c_str());
        WritePrivateProfileStringA("OPTIONS", "WindowTop", top, ini.c_str());
        DestroyMain();
        RECT outer = {};
        if (CreateMain())
            GetWindowRect(window_, &outer);
        return outer;
    };

    // Far beyond every screen, as far as a stored value goes: wholly on one.
    RECT away = openAt("2147483647", "-2147483648");
    EXPECT_GE(away.left, screen.left);
    EXPECT_GE(away.top, screen.top);
    EXPECT_LE(away.right, screen.right);
    EXPECT_LE(away.bottom, screen.bottom);

    // Half off the screen's right edge with half its caption showing: kept.
    int width = away.right - away.left;
    std::string left = std::to_string(screen.right - width / 2);
    RECT half = openAt(left.c_str(), "40");
    EXPECT_EQ(half.left, screen.right - width / 2);
    EXPECT_EQ(half.top, 40);
}

TEST_F(MainWindowTest, StatusClickCancelsOrContinuesByJobState) {
    ASSERT_TRUE(CreateMain());
    auto signalled = [](HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; };

    JobState = Idle;
    Command(window_, IDC_STATUS);
    EXPECT_EQ(JobState.load(), Idle);
    EXPECT_FALSE(signalled(RunToken));
    EXPECT_FALSE(signalled(SearchContinue));

    for (LONG running : {Hashing, Searching}) {
        JobState = running;
        Command(window_, IDC_STATUS, BN_CLICKED);
        EXPECT_EQ(JobState.load(), Idle); // cancel
        EXPECT_FALSE(signalled(RunToken));
    }

    JobState = NextPending;
    Command(window_, IDC_STATUS, BN_CLICKED);
    EXPECT_EQ(JobState.load(), Idle);
    EXPECT_TRUE(signalled(RunToken)); // the next queued file may run
    EXPECT_FALSE(signalled(SearchContinue));

    JobState = SearchPaused;
    Command(window_, IDC_STATUS, BN_CLICKED);
    EXPECT_EQ(JobState.load(), SearchPaused); // the search sets it again itself
    EXPECT_TRUE(signalled(SearchContinue));
    EXPECT_FALSE(signalled(RunToken));
}

TEST_F(MainWindowTest, SearchAsksForChecksumAfterExpanding) {
    ASSERT_TRUE(CreateMain());
    ASSERT_FALSE(Visible(IDC_HASH2));
    SetWindowTextA(Hash1Field, "0123456789abcdef0123456789abcde"); // 31 characters
    BoxCloser closer("Calverin");
    AcceleratorCommand(window_, IDM_SEARCH_HASH); // Ctrl+S
    const FoundBox& box = closer.Result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.owner, window_);
    EXPECT_EQ(box.text, "Set checksum to search to the first field.");
    EXPECT_TRUE(Visible(IDC_HASH2));

    SetWindowTextA(Hash1Field, kChecksumA);
    // With a checksum the folder picker opens instead of the box: cancelled.
    BoxCloser safetyNet("Calverin");
    WithOwnedDialog(
        window_, [&] { Command(window_, IDM_SEARCH_HASH); },
        [](HWND picker) { PressButton(picker, IDCANCEL); });
    EXPECT_FALSE(safetyNet.Stop().found);
}

TEST_F(MainWindowTest, TransparencyToggleUsesWindowOpacity) {
    Settings.WindowOpacity = 200;
    ASSERT_TRUE(CreateMain());
    EXPECT_FALSE(Layered(window_));
    AcceleratorCommand(window_, IDM_TRANSPARENCY);
    ASSERT_TRUE(Layered(window_));
    BYTE alpha = 0;
    DWORD flags = 0;
    typedef BOOL(WINAPI * GetLayered)(HWND, COLORREF*, BYTE*, DWORD*);
    GetLayered getLayered =
        (GetLayered)GetProcAddress(GetModuleHandleA("user32.dll"), "GetLayeredWindowAttributes");
    if (getLayered) {
        EXPECT_TRUE(getLayered(window_, nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, 200);
        EXPECT_TRUE(flags & LWA_ALPHA);
    }
    AcceleratorCommand(window_, IDM_TRANSPARENCY);
    EXPECT_FALSE(Layered(window_));
    DestroyMain();

    // Opaque in both states when the opacity is 255; starts translucent
    // when Transparent is set.
    Settings.WindowOpacity = 255;
    Settings.Transparent = true;
    ASSERT_TRUE(CreateMain());
    EXPECT_FALSE(Layered(window_));
    AcceleratorCommand(window_, IDM_TRANSPARENCY);
    EXPECT_FALSE(Layered(window_));
    DestroyMain();
    Settings.WindowOpacity = 100;
    ASSERT_TRUE(CreateMain());
    EXPECT_TRUE(Layered(window_));

    EXPECT_TRUE(SetWindowOpacity(nullptr, -1));
    EXPECT_FALSE(SetWindowOpacity(window_, 255));
    EXPECT_FALSE(Layered(window_));
}

TEST_F(MainWindowTest, CopyDataReadsOnlyTheGivenBytes) {
    ASSERT_TRUE(CreateMain());
    auto send = [&](const void* data, DWORD size) {
        COPYDATASTRUCT block = {};
        block.cbData = size;
        block.lpData = (PVOID)data;
        return SendMessageA(window_, WM_COPYDATA, 0, (LPARAM)&block);
    };
    lstrcpyA(JobPath, "untouched");
    send(nullptr, 0);
    send(nullptr, 40);
    send("C:\\missing\\a", 0);
    send("", 1);
    EXPECT_STREQ(JobPath, "untouched"); // nothing queued

    // Only the first path lies inside cbData; no zero ends it there.
    static const char text[] = "C:\\missing\\first C:\\missing\\second";
    send(text, 16);
    EXPECT_STREQ(JobPath, "C:\\missing\\first");
    std::vector<std::string> reports = RunQueuedJobs(1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(ReportedPath(reports[0]), "C:\\missing\\first");

    // A whole command line with its zero, as a second start sends it.
    send(text, sizeof text);
    // A path that finds the slot taken is handed on by the thread before it.
    EXPECT_TRUE(WaitUntil([] { return lstrcmpA(JobPath, "C:\\missing\\second") == 0; })) << JobPath;
    reports = RunQueuedJobs(2);
    ASSERT_EQ(reports.size(), 2u);
    std::sort(reports.begin(), reports.end()); // the system picks the order of waiting jobs
    EXPECT_EQ(ReportedPath(reports[0]), "C:\\missing\\first");
    EXPECT_EQ(ReportedPath(reports[1]), "C:\\missing\\second");
}

TEST_F(MainWindowTest, DroppedPathsAreHandedOnWhole) {
    ASSERT_TRUE(CreateMain());
    std::string longPath = "C:\\missing\\" + std::string(290, 'x'); // beyond MAX_PATH
    lstrcpyA(JobPath, "untouched");
    JobState = Hashing; // drops are taken while busy, too
    SendMessageA(window_, WM_DROPFILES, (WPARAM)MakeDrop({"C:\\missing\\one", longPath}), 0);
    JobState = Idle;
    // the last one queued, not cut
    EXPECT_TRUE(WaitUntil([&] { return std::string(JobPath) == longPath; })) << JobPath;
    std::vector<std::string> reports = RunQueuedJobs(2);
    ASSERT_EQ(reports.size(), 2u);
    std::sort(reports.begin(), reports.end());
    EXPECT_EQ(ReportedPath(reports[0]), "C:\\missing\\one");
    EXPECT_EQ(ReportedPath(reports[1]), longPath);

    // Longer than a job takes: handed on as the command line hands such a
    // path, marked so that it can name no file, and reported by its job.
    std::string tooLong = "C:\\missing\\" + std::string(kMaxHandedPath, 'y');
    SendMessageA(window_, WM_DROPFILES, (WPARAM)MakeDrop({tooLong}), 0);
    std::string handed =
        tooLong.substr(0, kMaxHandedPath - (sizeof kOverlongMark - 1)) + kOverlongMark;
    EXPECT_EQ(std::string(JobPath), handed);
    reports = RunQueuedJobs(1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(ReportedPath(reports[0]), handed);
}

TEST_F(MainWindowTest, FreeSpotDragsAndRightClickOpensMainMenu) {
    ASSERT_TRUE(CreateMain());
    POINT cursor;
    GetCursorPos(&cursor);
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    MSG posted;
    ASSERT_TRUE(PeekMessageA(&posted, window_, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(posted.wParam, (WPARAM)HTCAPTION);
    EXPECT_EQ((short)LOWORD(posted.lParam), cursor.x);
    EXPECT_EQ((short)HIWORD(posted.lParam), cursor.y);

    HMENU popup = OpenMainMenuByRightClick(window_);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemID(popup, 0), (UINT)IDM_HASH_STRING);
    EXPECT_EQ(GetMenuItemID(popup, 1), (UINT)IDM_SEARCH_HASH);
}

TEST_F(MainWindowTest, DestroyingEndsTheMessageLoop) {
    ASSERT_TRUE(CreateMain());
    DestroyWindow(window_);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}
