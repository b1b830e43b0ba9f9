// The file tooltip on two fields of a dialog of the test's own, which hands
// their changes to the field-change processing as the main window does.
#include "ui/FileTooltip.h"

#include "system/FileFacts.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/MainWindowTestSupport.h"
#include "ui/Comparison.h"

#include <commctrl.h>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

const char kAbc[] = "900150983cd24fb0d6963f7d28e17f72"; // MD5 of "abc"
const char kXyz[] = "d16fb36f0911f878998c136191af705e"; // MD5 of "xyz"

INT_PTR CALLBACK HostProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
        ProcessFieldChange(reinterpret_cast<HWND>(lParam));
    return FALSE;
}

HWND CreateField(HWND host, int id, int top) {
    return CreateWindowExA(
        WS_EX_STATICEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_CENTER, 10, top,
        300, 20, host, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
}

// A record as the comparison fills it for a file: short full path and facts.
HashFieldInfo InfoOf(const std::string& file) {
    HashFieldInfo info = {};
    lstrcpyA(info.hash, "900150983cd24fb0d6963f7d28e17f72");
    GetShortPathNameA(file.c_str(), info.path, MAX_PATH);
    EXPECT_TRUE(QueryFileSize(file.c_str(), &info.sizeLow, &info.sizeHigh));
    EXPECT_TRUE(QueryFileTime(file.c_str(), &info.modified));
    return info;
}

std::string TimeText(const FILETIME& time) {
    char text[64];
    return FormatFileTime(text, &time);
}

std::string SizeText(DWORD low, DWORD high) {
    char text[64];
    return FormatFileSize(text, low, high);
}

class FileTooltipTest : public testing::Test {
  protected:
    void SetUp() override {
        host = CreateHostDialog(HostProc);
        ASSERT_NE(host, nullptr);
        memset(FieldInfo, 0, sizeof FieldInfo);
        field1 = CreateField(host, IDC_HASH1, 10);
        field2 = CreateField(host, IDC_HASH2, 40);
        CreateFileTooltip(host);
        ASSERT_NE(FileTooltip, nullptr);
    }
    void TearDown() override {
        DestroyFileTooltip();
        DestroyWindow(host);
        DeleteFieldBrush();
        memset(FieldInfo, 0, sizeof FieldInfo);
    }
    std::string FileTip(const std::string& file) {
        HashFieldInfo info = InfoOf(file);
        char longPath[MAX_PATH] = "";
        GetLongPathNameA(file.c_str(), longPath, MAX_PATH);
        return std::string(longPath) + "\r\nModified: " + TimeText(info.modified) +
               "\r\nSize: " + SizeText(info.sizeLow, info.sizeHigh);
    }

    HWND host = nullptr, field1 = nullptr, field2 = nullptr;
    ScratchFolder folder;
};

} // namespace

TEST_F(FileTooltipTest, BothFieldsAreToolsWithTheTimingsOfTheWindow) {
    EXPECT_EQ(SendMessageA(FileTooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_EQ(TipText(host, field1), "");
    EXPECT_EQ(TipText(host, field2), "");
    EXPECT_EQ(SendMessageA(FileTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 250);
    EXPECT_EQ(SendMessageA(FileTooltip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 12000);
    EXPECT_EQ(SendMessageA(FileTooltip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 100);
    EXPECT_EQ(SendMessageA(FileTooltip, TTM_GETMAXTIPWIDTH, 0, 0), 800);
    // "&" is shown as written, and the tip shows while the window is inactive.
    LONG style = GetWindowLongA(FileTooltip, GWL_STYLE);
    EXPECT_EQ(style & (TTS_NOPREFIX | TTS_ALWAYSTIP), TTS_NOPREFIX | TTS_ALWAYSTIP);
}

TEST_F(FileTooltipTest, WindowStillBecomesTopmostAndTakesTheTipAlong) {
    SetWindowPos(host, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_NE(GetWindowLongA(host, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    SetWindowPos(host, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindowLongA(host, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    HWND tip = FileTooltip;
    DestroyFileTooltip();
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(FileTooltip, nullptr);
    SetFieldTooltip(field1, "nowhere to go"); // harmless without the control
}

TEST_F(FileTooltipTest, FileTipShowsLongPathTimeAndSize) {
    std::string file = folder.WriteFile("Release notes & changes 2024.txt", "abc");
    HashFieldInfo info = InfoOf(file);
    ASSERT_EQ(std::string(info.path).find("Release notes"), std::string::npos)
        << "the record keeps the short form";

    RefreshFieldTooltip(field1, &info);
    std::string tip = TipText(host, field1);
    char longPath[MAX_PATH];
    ASSERT_NE(GetLongPathNameA(file.c_str(), longPath, MAX_PATH), 0u);
    EXPECT_EQ(tip, std::string(longPath) + "\r\nModified: " + TimeText(info.modified) +
                       "\r\nSize: " + SizeText(3, 0));
    EXPECT_NE(tip.find("\\Release notes & changes 2024.txt\r\n"), std::string::npos) << tip;
    EXPECT_EQ(TipText(host, field2), "") << "the other field keeps its own tip";
}

TEST_F(FileTooltipTest, UnknownFactsLeaveTheirLinesOut) {
    std::string file = folder.WriteFile("data.bin", std::string(70000, 'x'));
    HashFieldInfo info = InfoOf(file);
    char longPath[MAX_PATH];
    ASSERT_NE(GetLongPathNameA(file.c_str(), longPath, MAX_PATH), 0u);

    info.modified.dwLowDateTime = info.modified.dwHighDateTime = 0xFFFFFFFF;
    RefreshFieldTooltip(field2, &info);
    EXPECT_EQ(TipText(host, field2), std::string(longPath) + "\r\nSize: " + SizeText(70000, 0));

    info.sizeLow = info.sizeHigh = 0xFFFFFFFF;
    RefreshFieldTooltip(field2, &info);
    EXPECT_EQ(TipText(host, field2), longPath);

    // One known half is a known fact.
    info.modified.dwHighDateTime = 0x01D00000;
    info.sizeLow = 0;
    RefreshFieldTooltip(field2, &info);
    EXPECT_EQ(TipText(host, field2), std::string(longPath) +
                                         "\r\nModified: " + TimeText(info.modified) +
                                         "\r\nSize: " + SizeText(0, 0xFFFFFFFF));
}

TEST_F(FileTooltipTest, NoFileNoTip) {
    std::string file = folder.WriteFile("a.txt", "abc");
    HashFieldInfo info = InfoOf(file);
    RefreshFieldTooltip(field1, &info);
    ASSERT_NE(TipText(host, field1), "");

    // A checksum typed or hashed from a string: facts unknown, no path.
    HashFieldInfo typed = {};
    typed.sizeLow = typed.sizeHigh = 0xFFFFFFFF;
    typed.modified.dwLowDateTime = typed.modified.dwHighDateTime = 0xFFFFFFFF;
    RefreshFieldTooltip(field1, &typed);
    EXPECT_EQ(TipText(host, field1), "");

    RefreshFieldTooltip(field2, &info);
    SetFieldTooltip(field2, "");
    EXPECT_EQ(TipText(host, field2), "");
}

TEST_F(FileTooltipTest, FieldChangesKeepTheTipsInStep) {
    std::string file = folder.WriteFile("Holiday photos & videos 2023.zip", "abc");
    SetHashField(field1, &FieldInfo[0], kAbc, file.c_str(), false);
    EXPECT_EQ(TipText(host, field1), FileTip(file));

    // Hashed from a string: no file, no tip.
    SetHashField(field1, &FieldInfo[0], kXyz, nullptr, false);
    EXPECT_EQ(TipText(host, field1), "");

    SetHashField(field1, &FieldInfo[0], kAbc, file.c_str(), false);
    SetHashField(field2, &FieldInfo[1], kAbc, file.c_str(), false);
    EXPECT_EQ(TipText(host, field2), FileTip(file));
    // Typing into field 2: no tip while it is short, even while it still
    // begins the file's checksum, and none once it is a different checksum.
    SetWindowTextA(field2, std::string(kAbc, 31).c_str());
    EXPECT_EQ(TipText(host, field2), "");
    SetWindowTextA(field2, "d16fb36f09");
    EXPECT_EQ(TipText(host, field2), "");
    SetWindowTextA(field2, kXyz);
    EXPECT_EQ(TipText(host, field2), "");
    // A paste over field 1 leaves it without a file too.
    SetWindowTextA(field1, kXyz);
    EXPECT_EQ(TipText(host, field1), "");
}

TEST_F(FileTooltipTest, TipAppearsWhenThePointerRestsOnTheField) {
    std::string file = folder.WriteFile("shown.txt", "abc");
    HashFieldInfo info = InfoOf(file);
    RefreshFieldTooltip(field1, &info);
    SetWindowPos(host, HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(host) != FALSE; }));

    RECT frame;
    GetWindowRect(field1, &frame);
    POINT middle = {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    // Moves in small steps, as a mouse would, so the field sees the pointer.
    for (int step = 3; step >= 0; --step) {
        SetCursorPos(middle.x + step * 4, middle.y);
        PumpMessages();
    }
    EXPECT_TRUE(WaitUntil([] { return IsWindowVisible(FileTooltip) != FALSE; }, 5000));
    RECT tip;
    GetWindowRect(FileTooltip, &tip);
    EXPECT_GE(tip.top, frame.bottom) << "centred below the field";

    // Field 2 has an empty tip: none shows there.
    GetWindowRect(field2, &frame);
    for (int step = 3; step >= 0; --step) {
        SetCursorPos((frame.left + frame.right) / 2 + step * 4, (frame.top + frame.bottom) / 2);
        PumpMessages();
    }
    EXPECT_TRUE(WaitUntil([] { return !IsWindowVisible(FileTooltip); }, 5000));
    SetCursorPos(0, 0);
}
