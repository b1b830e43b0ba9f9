// The hash fields' edit behaviour on edit controls of a dialog of the test's
// own, with the real clipboard and the program's own edit_menu.
#include "tests/support/ChecksumLayouts.h"
#include "ui/HashField.h"

#include "jobs/JobRunner.h"
#include "res/resource.h"
#include "tests/support/Clipboard.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UnixTools.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kChecksum[] = "0123456789abcdefABCDEF0123456789";
const char kOther[] = "ffeeddccbbaa99887766554433221100";

int FieldChanges;

INT_PTR CALLBACK HostProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
        ++FieldChanges;
    return FALSE;
}

HWND CreateField(HWND host, int id, DWORD extraStyle, int top) {
    HWND field = CreateWindowExA(
        WS_EX_STATICEDGE, "EDIT", "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER | extraStyle, 10, top, 300,
        20, host, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(field, EM_LIMITTEXT, 32, 0);
    return field;
}

bool EmptyTheClipboard(HWND owner) {
    if (!OpenClipboardWaiting(owner))
        return false;
    EmptyClipboard();
    CloseClipboard();
    return true;
}

void Select(HWND field, int start, int end) {
    SendMessageA(field, EM_SETSEL, start, end);
}

void TypeControl(HWND field, char key) {
    SendMessageA(field, WM_CHAR, key & 0x1F, 0);
}

struct MenuStates {
    bool opened = false;
    bool cutGrey = false, copyGrey = false, pasteGrey = false, clearGrey = false;
    POINT origin = {0, 0};
};
MenuStates Seen;
int ProbeTicks;

bool Grey(UINT id) {
    return (GetMenuState(EditMenu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

// Runs inside the menu's modal loop: records what the open menu shows, then closes it.
VOID CALLBACK ProbeOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup && IsWindowVisible(popup)) {
        Seen.opened = true;
        Seen.cutGrey = Grey(IDM_CUT);
        Seen.copyGrey = Grey(IDM_COPY);
        Seen.pasteGrey = Grey(IDM_PASTE);
        Seen.clearGrey = Grey(IDM_CLEAR_FIELD);
        RECT frame;
        GetWindowRect(popup, &frame);
        Seen.origin = {frame.left, frame.top};
    } else if (++ProbeTicks < 500) {
        return;
    }
    KillTimer(nullptr, timer);
    EndMenu();
}

// Opens the field's context menu as the keyboard would (no position).
MenuStates OpenContextMenu(HWND field) {
    Seen = MenuStates();
    ProbeTicks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, ProbeOpenMenu);
    SendMessageA(field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field), LPARAM(-1));
    KillTimer(nullptr, timer);
    PumpMessages();
    return Seen;
}

// Right-clicks the field for real (xdotool); the probe closes the menu.
MenuStates RightClick(HWND field) {
    Seen = MenuStates();
    ProbeTicks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, ProbeOpenMenu);
    RECT frame;
    GetWindowRect(field, &frame);
    Xdotool("mousemove " + std::to_string((frame.left + frame.right) / 2) + " " +
            std::to_string((frame.top + frame.bottom) / 2) + " click 3");
    WaitUntil([] { return Seen.opened; }, 5000);
    KillTimer(nullptr, timer);
    PumpMessages();
    return Seen;
}

class HashFieldTest : public testing::Test {
  protected:
    void SetUp() override {
        host = CreateHostDialog(HostProc);
        ASSERT_NE(host, nullptr);
        field1 = CreateField(host, IDC_HASH1, ES_READONLY, 10);
        field2 = CreateField(host, IDC_HASH2, 0, 40);
        plain = CreateField(host, 1099, 0, 70);
        SubclassHashField(field1);
        SubclassHashField(field2);
        menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
        savedEditMenu = EditMenu;
        EditMenu = GetSubMenu(menu, 1);
        FieldChanges = 0;
    }
    void TearDown() override {
        JobState = Idle;
        EditMenu = savedEditMenu;
        if (menu)
            DestroyMenu(menu);
        EmptyTheClipboard(host);
        DestroyWindow(host);
    }
    void SetField(HWND field, const char* text) {
        SetWindowTextA(field, text);
        FieldChanges = 0;
    }

    HWND host = nullptr, field1 = nullptr, field2 = nullptr, plain = nullptr;
    HMENU menu = nullptr, savedEditMenu = nullptr;
};

std::string Grouped(size_t size, const std::vector<std::string>& separators) {
    return GroupedChecksum(kChecksum, size, separators);
}

} // namespace

TEST_F(HashFieldTest, CtrlVTakesACommonLayoutIntoEitherFieldCaseKept) {
    const std::string layouts[] = {
        kChecksum,
        std::string(kChecksum) + "  Setup Disk.iso",
        Grouped(2, {" "}),
        Grouped(4, {" "}),
        Grouped(8, {" "}),
        Grouped(16, {"\r\n"}),
        Grouped(8, {"\r\n"}),
        Grouped(8, {" ", "\r\n"}),
        Grouped(8, {"\n", " ", "\r"}),
        " \t\r\n" + std::string(kChecksum),
    };
    for (const std::string& layout : layouts) {
        for (HWND field : {field1, field2}) {
            SetField(field, "");
            ASSERT_TRUE(PutClipboardText(host, layout));
            TypeControl(field, 'V');
            EXPECT_EQ(WindowText(field), kChecksum) << '"' << layout << '"';
            EXPECT_EQ(FieldChanges, 1);
        }
    }
    // The text ends at its zero, whatever the block holds after it. (Wine
    // zero-terminates every CF_TEXT block, so a block without a zero is
    // covered by the scanner's own tests.)
    SetField(field1, kOther);
    ASSERT_TRUE(PutClipboardBytes(host, std::string(kChecksum) + std::string("\0"
                                                                             "0123",
                                                                             5)));
    TypeControl(field1, 'V');
    EXPECT_EQ(WindowText(field1), kChecksum);
}

TEST_F(HashFieldTest, RejectedPasteBeepsAndLeavesTheFieldAsItWas) {
    BellCounter bells;
    ASSERT_TRUE(bells.Ready());
    const std::string full(kChecksum);
    const std::string rejected[] = {
        full.substr(0, 31),      full + "0",
        Grouped(4, {"\r\n"}),    Grouped(4, {"  "}),
        "checksum.md5: " + full, "012 345 678 9ab cde f01 234 567 89a bcd ef",
        Grouped(8, {"\t"}),      "no checksum here",
    };
    int beeps = 0;
    for (const std::string& text : rejected) {
        ASSERT_TRUE(PutClipboardText(host, text));
        SetField(field1, kOther);
        EXPECT_FALSE(PasteHashFromClipboard(host, field1)) << '"' << text << '"';
        TypeControl(field1, 'V');
        EXPECT_EQ(WindowText(field1), kOther) << '"' << text << '"';
        SetField(field2, "");
        TypeControl(field2, 'V');
        EXPECT_EQ(WindowText(field2), "") << '"' << text << '"';
        EXPECT_EQ(FieldChanges, 0);
        beeps += 2;
        EXPECT_TRUE(bells.WaitForCount(beeps)) << '"' << text << '"';
    }
    // No text on the clipboard at all.
    ASSERT_TRUE(EmptyTheClipboard(host));
    EXPECT_FALSE(PasteHashFromClipboard(host, field2));
    SendMessageA(field2, WM_PASTE, 0, 0);
    EXPECT_TRUE(bells.WaitForCount(++beeps));
    // The operation itself never beeps: only the paste command does.
    EXPECT_EQ(bells.Count(), beeps);
}

TEST_F(HashFieldTest, NoWholeFieldPasteWhileAJobRuns) {
    BellCounter bells;
    ASSERT_TRUE(bells.Ready());
    ASSERT_TRUE(PutClipboardText(host, kChecksum));
    int beeps = 0;
    for (LONG state : {Hashing, Searching, NextPending, SearchPaused}) {
        JobState = state;
        SetField(field1, kOther);
        EXPECT_FALSE(PasteHashFromClipboard(host, field1));
        TypeControl(field1, 'V');
        SendMessageA(field2, WM_PASTE, 0, 0);
        EXPECT_EQ(WindowText(field1), kOther);
        EXPECT_EQ(WindowText(field2), "");
        // Both rejected pastes sound the simple beep.
        beeps += 2;
        EXPECT_TRUE(bells.WaitForCount(beeps)) << "state " << state;
    }
    JobState = Idle;
    EXPECT_TRUE(PasteHashFromClipboard(host, field1));
    EXPECT_EQ(WindowText(field1), kChecksum);
    EXPECT_EQ(bells.Count(), beeps);
}

TEST_F(HashFieldTest, PartlyTypedFieldPastesLikeAnyEditControl) {
    BellCounter bells;
    ASSERT_TRUE(bells.Ready());
    ASSERT_TRUE(PutClipboardText(host, kOther));
    SetField(field2, "0123456789");
    Select(field2, 4, 4);
    TypeControl(field2, 'V');
    // Inserted at the caret, cut at the 32-character limit.
    EXPECT_EQ(WindowText(field2), "0123" + std::string(kOther, 22) + "456789");

    // 32 characters with five of them selected: the selection is replaced.
    ASSERT_TRUE(PutClipboardText(host, "xy"));
    SetField(field2, kChecksum);
    Select(field2, 3, 8);
    TypeControl(field2, 'V');
    EXPECT_EQ(WindowText(field2), "012xy89abcdefABCDEF0123456789");

    // All 32 selected: only a whole checksum replaces them; the first bell
    // heard is this rejection, so the standard pastes above did not beep.
    SetField(field2, kChecksum);
    Select(field2, 0, 32);
    TypeControl(field2, 'V');
    EXPECT_EQ(WindowText(field2), kChecksum);
    EXPECT_TRUE(bells.WaitForCount(1));
    EXPECT_EQ(bells.Count(), 1);
    ASSERT_TRUE(PutClipboardText(host, Grouped(8, {" "})));
    SetField(field2, kOther);
    Select(field2, 0, -1);
    TypeControl(field2, 'V');
    EXPECT_EQ(WindowText(field2), kChecksum);

    // The accepted paste did not beep either.
    ASSERT_TRUE(PutClipboardText(host, "not a checksum"));
    Select(field2, 0, -1);
    TypeControl(field2, 'V');
    EXPECT_EQ(WindowText(field2), kChecksum);
    EXPECT_TRUE(bells.WaitForCount(2));
    EXPECT_EQ(bells.Count(), 2);
}

TEST_F(HashFieldTest, CopyTakesTheWholeFieldUnlessPartIsSelected) {
    ASSERT_TRUE(PutClipboardText(host, "before"));
    SetField(field2, "");
    TypeControl(field2, 'C');
    EXPECT_EQ(ClipboardText(host), "before") << "an empty field leaves the clipboard alone";

    for (HWND field : {field1, field2}) {
        SetField(field, kChecksum);
        Select(field, 5, 5);
        TypeControl(field, 'C');
        EXPECT_EQ(ClipboardText(host), kChecksum);
        Select(field, 2, 9);
        TypeControl(field, 'C');
        EXPECT_EQ(ClipboardText(host), std::string(kChecksum + 2, 7));
        EXPECT_EQ(WindowText(field), kChecksum);
    }
    // The menu's Copy goes the same way.
    Select(field1, 0, 0);
    SendMessageA(field1, WM_COMMAND, IDM_COPY, 0);
    EXPECT_EQ(ClipboardText(host), kChecksum);
    EXPECT_EQ(FieldChanges, 0);
}

TEST_F(HashFieldTest, CutOfTheReadOnlyFieldTakesAllAndEmptiesItWhenIdle) {
    for (bool withSelection : {false, true}) {
        SetField(field1, kChecksum);
        Select(field1, withSelection ? 3 : 0, withSelection ? 7 : 0);
        TypeControl(field1, 'X');
        EXPECT_EQ(ClipboardText(host), kChecksum);
        EXPECT_EQ(WindowText(field1), "");
        EXPECT_EQ(FieldChanges, 1);
    }
    // While a job runs the cut only copies.
    JobState = Hashing;
    SetField(field1, kOther);
    TypeControl(field1, 'X');
    EXPECT_EQ(ClipboardText(host), kOther);
    EXPECT_EQ(WindowText(field1), kOther);
    EXPECT_EQ(FieldChanges, 0);
}

// Another program holds the clipboard open: a whole-field cut keeps the
// checksum, and it and a whole-field copy beep.
TEST_F(HashFieldTest, WholeFieldCutKeepsTheChecksumWhenTheCopyFails) {
    BellCounter bells;
    ASSERT_TRUE(bells.Ready());
    ASSERT_TRUE(PutClipboardText(host, "before"));
    std::atomic<int> opened(-1);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        opened = OpenClipboard(nullptr) ? 1 : 0;
        WaitForSingleObject(release, 15000);
        if (opened == 1)
            CloseClipboard();
    });
    ASSERT_TRUE(WaitUntil([&] { return opened >= 0; }));
    EXPECT_EQ(opened, 1);
    SetField(field1, kChecksum);
    TypeControl(field1, 'X');
    SetField(field2, kOther);
    SendMessageA(field2, WM_COMMAND, IDM_CUT, 0);
    TypeControl(field1, 'C');
    EXPECT_EQ(WindowText(field1), kChecksum);
    EXPECT_EQ(WindowText(field2), kOther);
    EXPECT_EQ(FieldChanges, 0);
    EXPECT_TRUE(bells.WaitForCount(3));
    SetEvent(release);
    holder.join();
    CloseHandle(release);
    EXPECT_EQ(ClipboardText(host), "before");
}

TEST_F(HashFieldTest, CutInTheEditableField) {
    // Nothing selected: the whole field.
    SetField(field2, kChecksum);
    Select(field2, 4, 4);
    SendMessageA(field2, WM_COMMAND, IDM_CUT, 0);
    EXPECT_EQ(ClipboardText(host), kChecksum);
    EXPECT_EQ(WindowText(field2), "");
    // Part selected: the edit control's own cut, also during a job.
    JobState = Searching;
    SetField(field2, kChecksum);
    Select(field2, 0, 10);
    TypeControl(field2, 'X');
    EXPECT_EQ(ClipboardText(host), std::string(kChecksum, 10));
    EXPECT_EQ(WindowText(field2), std::string(kChecksum + 10));
}

TEST_F(HashFieldTest, ClearHashEmptiesOnlyWhenIdle) {
    SetField(field2, kChecksum);
    JobState = NextPending;
    SendMessageA(field2, WM_COMMAND, IDM_CLEAR_FIELD, 0);
    EXPECT_EQ(WindowText(field2), kChecksum);
    JobState = Idle;
    SendMessageA(field2, WM_COMMAND, IDM_CLEAR_FIELD, 0);
    EXPECT_EQ(WindowText(field2), "");
    EXPECT_EQ(FieldChanges, 1);
}

TEST_F(HashFieldTest, ContextMenuStatesFollowFieldClipboardAndJob) {
    ASSERT_NE(EditMenu, nullptr);
    ShowWindow(host, SW_SHOW);
    SetField(field1, "");
    ASSERT_TRUE(EmptyTheClipboard(host));
    MenuStates states = RightClick(field1);
    ASSERT_TRUE(states.opened);
    EXPECT_TRUE(states.cutGrey);
    EXPECT_TRUE(states.copyGrey);
    EXPECT_TRUE(states.pasteGrey);
    EXPECT_TRUE(states.clearGrey);

    ASSERT_TRUE(PutClipboardText(host, "any text"));
    states = RightClick(field1);
    ASSERT_TRUE(states.opened);
    EXPECT_TRUE(states.cutGrey);
    EXPECT_TRUE(states.copyGrey);
    EXPECT_FALSE(states.pasteGrey);
    EXPECT_TRUE(states.clearGrey);

    SetField(field2, kChecksum);
    states = OpenContextMenu(field2);
    EXPECT_FALSE(states.cutGrey);
    EXPECT_FALSE(states.copyGrey);
    EXPECT_FALSE(states.pasteGrey);
    EXPECT_FALSE(states.clearGrey);

    JobState = Hashing;
    states = OpenContextMenu(field2);
    EXPECT_FALSE(states.cutGrey);
    EXPECT_FALSE(states.copyGrey);
    EXPECT_FALSE(states.pasteGrey);
    EXPECT_TRUE(states.clearGrey);
}

TEST_F(HashFieldTest, ContextMenuOpensAtThePointerEvenFromTheKeyboard) {
    ASSERT_NE(EditMenu, nullptr);
    ShowWindow(host, SW_SHOW);
    SetField(field2, kChecksum);
    const POINT spots[] = {{400, 300}, {517, 411}};
    for (POINT spot : spots) {
        ASSERT_TRUE(SetCursorPos(spot.x, spot.y));
        ASSERT_TRUE(WaitUntil([&] {
            POINT now;
            return GetCursorPos(&now) && now.x == spot.x && now.y == spot.y;
        }));
        MenuStates states = OpenContextMenu(field2);
        ASSERT_TRUE(states.opened);
        EXPECT_EQ(states.origin.x, spot.x);
        EXPECT_EQ(states.origin.y, spot.y);
    }
    // Without a menu nothing opens, and the edit control's own menu neither.
    EditMenu = nullptr;
    EXPECT_FALSE(OpenContextMenu(field2).opened);
}

TEST_F(HashFieldTest, TabbingIntoAFieldSelectsNothing) {
    EXPECT_EQ(SendMessageA(field2, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL, 0);
    EXPECT_NE(SendMessageA(plain, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL, 0);

    ShowWindow(host, SW_SHOW);
    SetForegroundWindow(host);
    SetField(field2, kChecksum);
    SetWindowTextA(plain, kChecksum);
    Select(field2, 0, 0);
    Select(plain, 0, 0);
    auto tabFrom = [&](HWND from) {
        SetFocus(from);
        MSG tab = {};
        tab.hwnd = from;
        tab.message = WM_KEYDOWN;
        tab.wParam = VK_TAB;
        tab.lParam = 1;
        return IsDialogMessageA(host, &tab) != FALSE;
    };
    ASSERT_TRUE(tabFrom(field1));
    ASSERT_EQ(GetFocus(), field2);
    DWORD start = 1, end = 2;
    SendMessageA(field2, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, end);
    // A plain edit control would have selected everything.
    ASSERT_TRUE(tabFrom(field2));
    ASSERT_EQ(GetFocus(), plain);
    SendMessageA(plain, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 32u);
}

TEST_F(HashFieldTest, CopiedBlockIsTheChecksumAndItsZero) {
    SetField(field1, kChecksum);
    ASSERT_TRUE(CopyHashToClipboard(host, field1));
    ASSERT_TRUE(OpenClipboardWaiting(host));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(GlobalSize(data), 33u);
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes, 33), std::string(kChecksum, 33));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_FALSE(CopyHashToClipboard(host, field2)) << "an empty field";
}
