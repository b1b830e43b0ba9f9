// The pickers: in-process for what they return, through the real program for
// where the open-file dialog appears over the main window.
#include "ui/Pickers.h"

#include "res/resource.h"
#include "tests/support/AppDriver.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/RegistrySnapshot.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <string>
#include <thread>

namespace {

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The file-name box of an open-file dialog: the edit control with the caret
// for typing a name (inside the name combo box where there is one).
HWND FileNameBox(HWND dialog) {
    HWND combo = GetDlgItem(dialog, cmb13);
    if (combo != nullptr) {
        HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
        return edit != nullptr ? edit : combo;
    }
    return GetDlgItem(dialog, edt1);
}

// Runs pick on this thread while a helper waits for its dialog (owned by
// owner), lets look at it and then closes it with button.
template <typename Pick, typename Look>
bool PickWithHelper(HWND owner, int button, Pick pick, Look look) {
    bool result = false;
    bool found = WithOwnedDialog(
        owner, [&] { result = pick(); },
        [&](HWND dialog) {
            look(dialog);
            PressButton(dialog, button);
        });
    return found && result;
}

class PickersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, folder_);
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 300, 200, 300, 150,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        PumpMessages();
        // The open-file dialog makes the folder it shows current.
        SetCurrentDirectoryA(folder_);
    }
    RegistrySnapshot dialogMemory_{HKEY_CURRENT_USER, kOpenDialogMemoryKey};
    char folder_[MAX_PATH] = "";
    HWND owner_ = nullptr;
    ScratchFolder scratch_;
};

TEST_F(PickersTest, CentreWindowCentresOverTheReferenceWithinTheScreen) {
    HWND moved = CreateWindowExA(0, "STATIC", "moved", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    CentreWindow(moved, owner_);
    RECT rect = WindowRect(moved);
    EXPECT_EQ(rect.left, 300 + (300 - 100) / 2);
    EXPECT_EQ(rect.top, 200 + (150 - 50) / 2);
    EXPECT_EQ(rect.right - rect.left, 100) << "never resized";
    EXPECT_EQ(rect.bottom - rect.top, 50);

    // Over the primary screen.
    CentreWindow(moved, nullptr);
    rect = WindowRect(moved);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 100) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 50) / 2);

    // A reference by the top-left corner: no negative coordinate.
    SetWindowPos(owner_, nullptr, -40, -30, 60, 20, SWP_NOZORDER);
    CentreWindow(moved, owner_);
    rect = WindowRect(moved);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    DestroyWindow(moved);
}

TEST_F(PickersTest, PickFileReturnsTheChosenFileOrNothing) {
    // The dialog makes the chosen file's folder current; it is put back so
    // the scratch folder can go.
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::string file = scratch_.WriteFile("chosen file.txt", "x");
    std::string buffer = "left over";
    bool chosen = PickWithHelper(
        owner_, IDOK, [&] { return PickFile(owner_, &buffer); },
        [&](HWND dialog) {
            HWND name = FileNameBox(dialog);
            ASSERT_NE(name, nullptr);
            SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
        });
    SetCurrentDirectoryA(folder);
    EXPECT_TRUE(chosen);
    EXPECT_STRCASEEQ(buffer.c_str(), file.c_str());

    bool cancelled = !PickWithHelper(
        owner_, IDCANCEL, [&] { return PickFile(owner_, &buffer); }, [](HWND) {});
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(buffer, "") << "cleared also on cancel";
}

TEST_F(PickersTest, PickFolderPreselectsTheInitialFolderOnACentredDialog) {
    // A folder older than this process: Wine's folder browser does not find
    // one that the process itself has just created.
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string buffer = system;
    RECT placed = {};
    bool chosen = PickWithHelper(
        owner_, IDOK, [&] { return PickFolder(owner_, buffer, &buffer); },
        [&](HWND dialog) {
            // Centred once the dialog has initialised; poll for the move.
            WaitUntil([&] {
                placed = WindowRect(dialog);
                return placed.left ==
                       (GetSystemMetrics(SM_CXSCREEN) - (placed.right - placed.left)) / 2;
            });
        });
    EXPECT_TRUE(chosen);
    EXPECT_STRCASEEQ(buffer.c_str(), system);
    EXPECT_EQ(placed.left, (GetSystemMetrics(SM_CXSCREEN) - (placed.right - placed.left)) / 2);
    EXPECT_EQ(placed.top, (GetSystemMetrics(SM_CYSCREEN) - (placed.bottom - placed.top)) / 2);

    std::string other;
    bool cancelled = !PickWithHelper(
        owner_, IDCANCEL, [&] { return PickFolder(owner_, buffer, &other); }, [](HWND) {});
    EXPECT_TRUE(cancelled);
}

// The first open-file dialog of a run is centred over the main window (here
// at the screen's corner, so both coordinates become 0); moved and cancelled,
// the next one opens where it was left.
TEST(PickersRoad, OpenDialogPlacementFollowsTheMainWindowThenTheUser) {
    RegistrySnapshot dialogMemory(HKEY_CURRENT_USER, kOpenDialogMemoryKey);
    AppDriver app("GetFileOnStart=1\nRememberPosition=1\nWindowLeft=0\nWindowTop=0\n");
    ASSERT_TRUE(app.Start());
    HWND dialog = app.WaitForOwnedDialog();
    ASSERT_NE(dialog, nullptr) << "the start-up request opens the picker";
    RECT main = WindowRect(app.Window());
    ASSERT_EQ(main.left, 0);
    RECT first = {};
    EXPECT_TRUE(WaitUntil([&] {
        first = WindowRect(dialog);
        return first.left == 0 && first.top == 0;
    })) << first.left
        << "," << first.top;
    ASSERT_GT(first.right - first.left, main.right - main.left) << "centring goes negative";

    SetWindowPos(dialog, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(app.WaitForNoOwnedDialog());
    EXPECT_TRUE(app.WaitForIdle());

    app.Command(IDM_OPEN_FILE);
    dialog = app.WaitForOwnedDialog();
    ASSERT_NE(dialog, nullptr);
    RECT again = {};
    EXPECT_TRUE(WaitUntil([&] {
        again = WindowRect(dialog);
        return again.left == 123 && again.top == 77;
    })) << again.left
        << "," << again.top;
    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(app.WaitForNoOwnedDialog());
}

// The Open button opens the picker while the fields are not a pair, centred
// over the main window; the chosen file is hashed. As a pair it compares.
TEST(PickersRoad, OpenButtonPicksAFileUntilThereIsAPairToCompare) {
    RegistrySnapshot dialogMemory(HKEY_CURRENT_USER, kOpenDialogMemoryKey);
    ScratchFolder scratch;
    std::string file = scratch.WriteFile("picked.txt", "picked");
    AppDriver app("StartInFullMode=1\n");
    ASSERT_TRUE(app.Start());
    app.Command(IDC_OPEN);
    HWND dialog = app.WaitForOwnedDialog();
    ASSERT_NE(dialog, nullptr);
    RECT main = WindowRect(app.Window());
    RECT placed = {};
    EXPECT_TRUE(WaitUntil([&] {
        placed = WindowRect(dialog);
        int width = placed.right - placed.left;
        int height = placed.bottom - placed.top;
        int x = main.left + ((main.right - main.left) - width) / 2;
        int y = main.top + ((main.bottom - main.top) - height) / 2;
        return placed.left == (x < 0 ? 0 : x) && placed.top == (y < 0 ? 0 : y);
    })) << placed.left
        << "," << placed.top;
    HWND name = FileNameBox(dialog);
    ASSERT_NE(name, nullptr);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    PressButton(dialog, IDOK);
    EXPECT_TRUE(app.WaitForText(IDC_HASH1, ReferenceMd5("picked")));
    EXPECT_TRUE(app.WaitForIdle());

    // Ctrl+O's command opens the picker as well.
    app.Command(IDM_OPEN_FILE);
    dialog = app.WaitForOwnedDialog();
    ASSERT_NE(dialog, nullptr);
    PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(app.WaitForNoOwnedDialog());

    // With a pair, the same button compares instead.
    app.SetText(IDC_HASH2, ReferenceMd5("picked"));
    ASSERT_TRUE(app.WaitForText(IDC_OPEN, "Compare"));
    app.Command(IDC_OPEN);
    HWND box = app.WaitForOwnedDialog();
    ASSERT_NE(box, nullptr);
    FoundBox contents = ReadBox(box);
    EXPECT_EQ(contents.text, "MD5 checksums are identical.\n\nDo you want clear the checksums?");
    PressButton(box, IDNO);
    EXPECT_TRUE(app.WaitForNoOwnedDialog());
}

} // namespace
