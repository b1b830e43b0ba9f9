#include "ui/HashStringDialog.h"

#include <gtest/gtest.h>

#include "jobs/JobRunner.h"
#include "res/resource.h"
#include "tests/support/AppDriver.h"
#include "tests/support/UnixTools.h"
#include "tests/support/AppDriver.h"
#include "tests/support/Clipboard.h"
#include "tests/ui/DialogTestSupport.h"

namespace {

constexpr const char* kMd5Abc = "900150983cd24fb0d6963f7d28e17f72";
constexpr const char* kMd5Empty = "d41d8cd98f00b204e9800998ecf8427e";

class HashStringDialogTest : public DialogHostTest {
  protected:
    // Opens the dialog with the main window's command and drives it.
    void Open(const std::function<void(HWND)>& drive) {
        OpenByCommand(IDM_HASH_STRING, "Hash String", drive);
    }
    std::string Field1() const { return WindowText(GetDlgItem(main_, IDC_HASH1)); }
};

bool PutPictureOnClipboard() {
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    bool put = SetClipboardData(CF_BITMAP, picture) != nullptr;
    CloseClipboard();
    return put;
}

RECT WindowRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

// A control's place in its parent's client coordinates.
RECT PlaceInParent(HWND control) {
    RECT rect = WindowRect(control);
    MapWindowPoints(nullptr, GetParent(control), (POINT*)&rect, 2);
    return rect;
}

// Distances of a control to the client area's right and bottom edges.
SIZE DistanceToCorner(HWND dialog, int id) {
    RECT client;
    GetClientRect(dialog, &client);
    RECT place = PlaceInParent(GetDlgItem(dialog, id));
    return SIZE{client.right - place.right, client.bottom - place.bottom};
}

// Posts one typed character or key and waits until the edit took it.
void Type(HWND edit, UINT key, bool isCharacter) {
    int before = GetWindowTextLengthA(edit);
    if (isCharacter)
        PostMessageA(edit, WM_CHAR, key, 1);
    else
        PostKey(edit, key);
    EXPECT_TRUE(WaitUntil([&] { return GetWindowTextLengthA(edit) > before; }));
}

TEST_F(HashStringDialogTest, OpensHoldingTheClipboardTextAndEmptyWithAPicture) {
    ASSERT_TRUE(PutClipboardText(nullptr, "clip text"));
    Open([](HWND dialog) {
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_STRING_TEXT)), "clip text");
        EXPECT_EQ(WindowText(dialog), "Hash String - Calverin");
    });
    ASSERT_TRUE(PutPictureOnClipboard());
    Open([](HWND dialog) {
        EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(dialog, IDC_STRING_TEXT)), 0);
    });
    // Cancelled: nothing was hashed.
    EXPECT_EQ(Field1(), "");
}

TEST_F(HashStringDialogTest, OkPutsTheChecksumOfTheTextIntoAFieldAndCloses) {
    ASSERT_TRUE(PutPictureOnClipboard());
    HWND seen = nullptr;
    Open([&](HWND dialog) {
        seen = dialog;
        SetWindowTextA(GetDlgItem(dialog, IDC_STRING_TEXT), "abc");
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_EQ(Field1(), kMd5Abc);
    BatchCount count = ReadBatchCount();
    EXPECT_EQ(count.started, 0);
    EXPECT_EQ(count.queued, 0);

    Open([](HWND dialog) {
        SetWindowTextA(GetDlgItem(dialog, IDC_STRING_TEXT), "");
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(Field1(), kMd5Empty);
}

// Text is hashed as its UTF-8 bytes: "\u00e9" is C3 A9, copied from another
// program in Unicode.
TEST_F(HashStringDialogTest, TextIsHashedAsItsUtf8Bytes) {
    ASSERT_TRUE(PutClipboardUnicode(nullptr, L"\u00e9"));
    Open([](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });
    EXPECT_EQ(Field1(), ReferenceMd5("\xC3\xA9"));
}

TEST_F(HashStringDialogTest, EnterAndTabTypedInTheEditArePartOfTheText) {
    ASSERT_TRUE(PutPictureOnClipboard());
    std::string typed;
    Open([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_STRING_TEXT);
        // Asked about a Tab key, the edit says it keeps it.
        MSG tab = {};
        tab.hwnd = edit;
        tab.message = WM_KEYDOWN;
        tab.wParam = VK_TAB;
        tab.lParam = 1;
        EXPECT_TRUE(SendMessageA(edit, WM_GETDLGCODE, VK_TAB, (LPARAM)&tab) & DLGC_WANTTAB);
        Type(edit, 'a', true);
        Type(edit, 'b', true);
        Type(edit, VK_RETURN, false);
        Type(edit, 'c', true);
        Type(edit, VK_TAB, false);
        Type(edit, 'd', true);
        typed = WindowText(edit);
        EXPECT_TRUE(IsWindowVisible(dialog)) << "Enter must not press OK";
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(typed, "ab\r\nc\td");
    // printf 'ab\r\nc\td' | md5sum
    EXPECT_EQ(Field1(), "7886891246e760d42fd3f9a3cc342834");
}

TEST_F(HashStringDialogTest, CannotShrinkBelowTheMinimumAndLaysOutWhenGrown) {
    Open([](HWND dialog) {
        SetWindowPos(dialog, nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER);
        RECT small = WindowRect(dialog);
        EXPECT_EQ(small.right - small.left, 288);
        EXPECT_EQ(small.bottom - small.top, 146);

        RECT before = WindowRect(dialog);
        RECT editBefore = PlaceInParent(GetDlgItem(dialog, IDC_STRING_TEXT));
        RECT bitmapBefore = PlaceInParent(GetDlgItem(dialog, IDC_MENU));
        SIZE okBefore = DistanceToCorner(dialog, IDOK);
        SIZE bitmapCorner = DistanceToCorner(dialog, IDC_MENU);
        SetWindowPos(dialog, nullptr, 0, 0, before.right - before.left + 120,
                     before.bottom - before.top + 70, SWP_NOMOVE | SWP_NOZORDER);

        RECT edit = PlaceInParent(GetDlgItem(dialog, IDC_STRING_TEXT));
        EXPECT_EQ(edit.left, editBefore.left);
        EXPECT_EQ(edit.top, editBefore.top);
        EXPECT_EQ(edit.right - edit.left, editBefore.right - editBefore.left + 120);
        EXPECT_EQ(edit.bottom - edit.top, editBefore.bottom - editBefore.top + 70);
        SIZE ok = DistanceToCorner(dialog, IDOK);
        EXPECT_EQ(ok.cx, okBefore.cx);
        EXPECT_EQ(ok.cy, okBefore.cy);
        SIZE grip = DistanceToCorner(dialog, IDC_SIZE_GRIP);
        EXPECT_EQ(grip.cx, 0);
        EXPECT_EQ(grip.cy, 0);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_SIZE_GRIP)));
        RECT bitmap = PlaceInParent(GetDlgItem(dialog, IDC_MENU));
        EXPECT_EQ(bitmap.left, bitmapBefore.left);
        EXPECT_EQ(DistanceToCorner(dialog, IDC_MENU).cy, bitmapCorner.cy);
    });
}

TEST_F(HashStringDialogTest, ReopensAtThePlaceAndSizeItWasClosedAt) {
    SIZE okAtStart = {};
    Open([&](HWND dialog) { okAtStart = DistanceToCorner(dialog, IDOK); });
    RECT closedAt = {};
    Open([&](HWND dialog) {
        SetWindowPos(dialog, nullptr, 40, 50, 500, 300, SWP_NOZORDER);
        closedAt = WindowRect(dialog);
        // The close box.
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    Open([&](HWND dialog) {
        RECT now = WindowRect(dialog);
        EXPECT_EQ(now.left, closedAt.left);
        EXPECT_EQ(now.top, closedAt.top);
        EXPECT_EQ(now.right, closedAt.right);
        EXPECT_EQ(now.bottom, closedAt.bottom);
        SIZE ok = DistanceToCorner(dialog, IDOK);
        EXPECT_EQ(ok.cx, okAtStart.cx);
        EXPECT_EQ(ok.cy, okAtStart.cy);
        SIZE grip = DistanceToCorner(dialog, IDC_SIZE_GRIP);
        EXPECT_EQ(grip.cx, 0);
        EXPECT_EQ(grip.cy, 0);
    });
}

TEST_F(HashStringDialogTest, OkWhileAJobOrABatchRunsKeepsTheDialogAndItsText) {
    BellCounter bells;
    ASSERT_TRUE(bells.Ready());
    ASSERT_TRUE(PutPictureOnClipboard());
    SetWindowTextA(GetDlgItem(main_, IDC_HASH1), "");
    Open([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_STRING_TEXT);
        SetWindowTextA(edit, "abc");
        JobState = Hashing;
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        // An ended dialog is hidden at once.
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(WindowText(edit), "abc");
        EXPECT_EQ(Field1(), "");
        // The refused OK sounds the simple beep.
        EXPECT_TRUE(bells.WaitForCount(1));
        // Between two files of a batch the state is idle, but the next file
        // is about to start: refused as well.
        JobState = Idle;
        FilesQueued = 2;
        FilesStarted = 1;
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(WindowText(edit), "abc");
        EXPECT_EQ(Field1(), "");
        EXPECT_TRUE(bells.WaitForCount(2));
        // Once the batch has ended, OK hashes the kept text.
        FilesQueued = 0;
        FilesStarted = 0;
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    EXPECT_EQ(Field1(), kMd5Abc);
}

// The whole clipboard text is hashed: beyond the edit's default limit (30,000
// characters here, 32,767 on Windows), and in one line of 1 MiB, which the
// box could not lay out in minutes: the dialog opens within the bounded wait
// all the same. Once the box is changed, OK hashes the box.
TEST_F(HashStringDialogTest, HashesAllOfALongClipboardText) {
    std::string inLines;
    while (inLines.size() < 60000)
        inLines += "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n";
    inLines.resize(60000);
    std::string oneLine;
    while (oneLine.size() < 1024 * 1024)
        oneLine += "abcdefghijklmnopqrstuvwxyz0123456789";
    oneLine.resize(1024 * 1024);
    for (const std::string* text : {&inLines, &oneLine}) {
        ASSERT_TRUE(PutClipboardText(nullptr, *text));
        std::string md5sum;
        std::string file = scratch_.WriteFile("long.txt", *text);
        ASSERT_EQ(RunUnix("md5sum '" + UnixPathOf(file) + "'", &md5sum), 0);
        Open([&](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });
        EXPECT_EQ(Field1(), md5sum.substr(0, 32)) << text->size();
    }
    std::string changed;
    Open([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_STRING_TEXT);
        Type(edit, 'z', true);
        changed = WindowText(edit);
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_LT(changed.size(), oneLine.size());
    EXPECT_EQ(Field1(), ReferenceMd5(changed));
}

} // namespace
