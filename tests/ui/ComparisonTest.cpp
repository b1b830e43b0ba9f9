// The field records, verdict colours and compare step, in-process: a plain
// window with the three controls stands in for the main window and hands
// EN_CHANGE and WM_CTLCOLOREDIT to the unit as the main window does.
#include "ui/Comparison.h"

#include "system/Settings.h"
#include "res/resource.h"
#include "tests/support/AppDriver.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/TestSupport.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr COLORREF kSameFile = RGB(10, 20, 250);
constexpr COLORREF kSameHash = RGB(10, 250, 20);
constexpr COLORREF kDiffHash = RGB(250, 20, 10);
constexpr const char* kAbc = "900150983cd24fb0d6963f7d28e17f72"; // MD5 of "abc"
constexpr const char* kXyz = "d16fb36f0911f878998c136191af705e"; // MD5 of "xyz"
constexpr const char* kClassName = "CalverinComparisonTest";

std::vector<WORD> commandsReceived;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE)
            ProcessFieldChange(reinterpret_cast<HWND>(lParam));
        else if (lParam == 0) // a command, not a control's notification
            commandsReceived.push_back(LOWORD(wParam));
        return 0;
    case WM_CTLCOLOREDIT:
        return reinterpret_cast<LRESULT>(
            FieldColourBrush(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

std::string ShortPathOf(const std::string& path) {
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return shortPath;
}

COLORREF BrushColour(HBRUSH brush) {
    LOGBRUSH logical = {};
    if (GetObjectA(brush, sizeof logical, &logical) != sizeof logical)
        return CLR_INVALID;
    return logical.lbColor;
}

class ComparisonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = StandInProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, kClassName, "stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        hash1_ = MakeControl("EDIT", IDC_HASH1, 10, ES_READONLY);
        hash2_ = MakeControl("EDIT", IDC_HASH2, 40, 0);
        open_ = MakeControl("BUTTON", IDC_OPEN, 70, BS_PUSHBUTTON);
        SetWindowTextA(open_, "Open");

        savedMainWindow_ = MainWindow;
        MainWindow = window_;
        savedSettings_ = Settings;
        Settings.SameFileColor = kSameFile;
        Settings.SameHashColor = kSameHash;
        Settings.DiffHashColor = kDiffHash;
        std::memset(FieldInfo, 0, sizeof FieldInfo);
        FieldColour = GetSysColor(COLOR_WINDOW);
        commandsReceived.clear();
        abcFile_ = scratch_.WriteFile("first file with a long name.txt", "abc");
        abcCopy_ = scratch_.WriteFile("copy.txt", "abc");
        xyzFile_ = scratch_.WriteFile("other.txt", "xyz");
    }

    void TearDown() override {
        DeleteFieldBrush();
        DestroyWindow(window_);
        UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
        MainWindow = savedMainWindow_;
        Settings = savedSettings_;
        std::memset(FieldInfo, 0, sizeof FieldInfo);
        PumpMessages();
    }

    HWND MakeControl(const char* className, int id, int top, DWORD style) {
        return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 10, top, 300, 20,
                               window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    }

    void Type(HWND field, const char* text) { SetWindowTextA(field, text); }

    HWND window_ = nullptr;
    HWND hash1_ = nullptr;
    HWND hash2_ = nullptr;
    HWND open_ = nullptr;
    HWND savedMainWindow_ = nullptr;
    SettingsRecord savedSettings_ = {};
    ScratchFolder scratch_;
    std::string abcFile_, abcCopy_, xyzFile_;
};

TEST_F(ComparisonTest, SetHashFieldRecordsTheFileFactsAndItsFullShortPath) {
    SetHashField(hash1_, &FieldInfo[0], kAbc, abcFile_.c_str(), false);
    const HashFieldInfo& info = FieldInfo[0];
    EXPECT_STREQ(info.hash, kAbc);
    EXPECT_EQ(WindowText(hash1_), kAbc);
    EXPECT_EQ(info.sizeLow, 3u);
    EXPECT_EQ(info.sizeHigh, 0u);
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    ASSERT_TRUE(GetFileAttributesExA(abcFile_.c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_EQ(info.modified.dwLowDateTime, attributes.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(info.modified.dwHighDateTime, attributes.ftLastWriteTime.dwHighDateTime);
    std::string shortPath = ShortPathOf(abcFile_);
    EXPECT_STRCASEEQ(info.path, shortPath.c_str());
    EXPECT_EQ(std::string(info.path).find(' '), std::string::npos) << info.path;

    // A relative path is made full.
    char oldFolder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, oldFolder);
    SetCurrentDirectoryA(scratch_.Path().c_str());
    SetHashField(hash2_, &FieldInfo[1], kAbc, "copy.txt", true);
    SetCurrentDirectoryA(oldFolder);
    EXPECT_STRCASEEQ(FieldInfo[1].path, ShortPathOf(abcCopy_).c_str());
    EXPECT_EQ(WindowText(hash2_), "") << "keep text leaves the field alone";
}

TEST_F(ComparisonTest, AFileThatCannotBeReadKeepsItsFactsUnknown) {
    std::string missing = scratch_.Path() + "\\missing.txt";
    SetHashField(hash1_, &FieldInfo[0], kAbc, missing.c_str(), true);
    EXPECT_EQ(FieldInfo[0].sizeLow, 0xFFFFFFFFu);
    EXPECT_EQ(FieldInfo[0].sizeHigh, 0xFFFFFFFFu);
    EXPECT_EQ(FieldInfo[0].modified.dwLowDateTime, 0xFFFFFFFFu);
    EXPECT_EQ(FieldInfo[0].modified.dwHighDateTime, 0xFFFFFFFFu);
    EXPECT_STRCASEEQ(FieldInfo[0].path, missing.c_str()) << "cannot be shortened: stays full";

    // No path: a checksum that came from no file.
    SetHashField(hash1_, &FieldInfo[0], kXyz, nullptr, true);
    EXPECT_STREQ(FieldInfo[0].path, "");
    EXPECT_EQ(FieldInfo[0].sizeLow, 0xFFFFFFFFu);
}

TEST_F(ComparisonTest, VerdictColoursFollowTheFilesBehindTheChecksums) {
    // The same file twice.
    SetHashField(hash1_, &FieldInfo[0], kAbc, abcFile_.c_str(), false);
    EXPECT_EQ(WindowText(open_), "Open") << "one field is not yet a pair";
    SetHashField(hash2_, &FieldInfo[1], kAbc, abcFile_.c_str(), false);
    EXPECT_EQ(FieldColour, kSameFile);
    EXPECT_EQ(WindowText(open_), "Compare");

    // Once by its long and once by its short name.
    SetHashField(hash2_, &FieldInfo[1], kAbc, ShortPathOf(abcFile_).c_str(), false);
    EXPECT_EQ(FieldColour, kSameFile);

    // A copy: same checksum, another file.
    SetHashField(hash2_, &FieldInfo[1], kAbc, abcCopy_.c_str(), false);
    EXPECT_EQ(FieldColour, kSameHash);

    // Different checksums.
    SetHashField(hash2_, &FieldInfo[1], kXyz, xyzFile_.c_str(), false);
    EXPECT_EQ(FieldColour, kDiffHash);
    EXPECT_EQ(WindowText(open_), "Compare");

    // A typed upper-case copy of field 1's checksum: identical, not the same file.
    std::string upper = kAbc;
    CharUpperA(&upper[0]);
    Type(hash2_, upper.c_str());
    EXPECT_EQ(FieldColour, kSameHash);
    EXPECT_STREQ(FieldInfo[1].path, "") << "typed text comes from no file";

    // One field shorter than a checksum: Open and the window colour.
    Type(hash2_, "abc");
    EXPECT_EQ(FieldColour, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(WindowText(open_), "Open");
}

TEST_F(ComparisonTest, AFullLengthTextThatIsNotHexIsMarkedInvalid) {
    // Field 1 empty: the text stays in field 2 in the invalid colour.
    const char* notHex = "900150983cd24fb0d6963f7d28e17fzz";
    Type(hash2_, notHex);
    EXPECT_EQ(WindowText(hash2_), notHex);
    EXPECT_EQ(WindowText(hash1_), "");
    EXPECT_EQ(FieldColour, InvalidChecksumColour);
    EXPECT_EQ(InvalidChecksumColour, RGB(255, 55, 55));

    // Field 1 filled: the pair is not comparable and the button reads Open.
    SetHashField(hash1_, &FieldInfo[0], kAbc, abcFile_.c_str(), false);
    EXPECT_EQ(FieldColour, InvalidChecksumColour);
    EXPECT_EQ(WindowText(open_), "Open");
    EXPECT_FALSE(IsPairComparable());
    Type(hash2_, kXyz);
    EXPECT_TRUE(IsPairComparable());
    EXPECT_EQ(WindowText(open_), "Compare");
    // Made invalid after it was comparable: a press now opens a file, and says so.
    Type(hash2_, notHex);
    EXPECT_FALSE(IsPairComparable());
    EXPECT_EQ(WindowText(open_), "Open");
}

TEST_F(ComparisonTest, ALoneChecksumInField2MovesToField1) {
    Type(hash2_, kAbc);
    EXPECT_EQ(WindowText(hash1_), kAbc);
    EXPECT_EQ(WindowText(hash2_), "");
    EXPECT_STREQ(FieldInfo[0].hash, kAbc);
    EXPECT_STREQ(FieldInfo[0].path, "");
    EXPECT_EQ(WindowText(open_), "Open");
    EXPECT_EQ(FieldColour, GetSysColor(COLOR_WINDOW));
}

TEST_F(ComparisonTest, RetypingAClearedChecksumKeepsItsFileRecord) {
    SetHashField(hash1_, &FieldInfo[0], kAbc, abcFile_.c_str(), false);
    SetHashField(hash2_, &FieldInfo[1], kAbc, abcFile_.c_str(), false);
    Type(hash2_, "");
    EXPECT_EQ(FieldColour, GetSysColor(COLOR_WINDOW));
    Type(hash2_, kAbc);
    EXPECT_EQ(FieldColour, kSameFile);
    EXPECT_STRCASEEQ(FieldInfo[1].path, ShortPathOf(abcFile_).c_str());
}

TEST_F(ComparisonTest, OnlyAShownField2MakesAComparablePair) {
    SetHashField(hash1_, &FieldInfo[0], kAbc, nullptr, false);
    SetHashField(hash2_, &FieldInfo[1], kXyz, nullptr, false);
    EXPECT_TRUE(IsPairComparable());
    ShowWindow(hash2_, SW_HIDE);
    EXPECT_FALSE(IsPairComparable());
    // The verdict goes on while collapsed.
    SetHashField(hash1_, &FieldInfo[0], kXyz, nullptr, false);
    EXPECT_EQ(FieldColour, kSameHash);
}

TEST_F(ComparisonTest, Field2AloneGetsTheVerdictBrush) {
    HDC context = GetDC(hash2_);
    EXPECT_EQ(FieldColourBrush(context, hash1_), nullptr);
    FieldColour = kDiffHash;
    HBRUSH brush = FieldColourBrush(context, hash2_);
    EXPECT_EQ(BrushColour(brush), kDiffHash);
    EXPECT_EQ(GetBkColor(context), kDiffHash);
    EXPECT_EQ(GetBkMode(context), TRANSPARENT);
    EXPECT_EQ(GetTextColor(context), GetSysColor(COLOR_WINDOWTEXT));
    FieldColour = kSameFile;
    HBRUSH next = FieldColourBrush(context, hash2_);
    EXPECT_EQ(BrushColour(next), kSameFile);
    if (next != brush) {
        EXPECT_EQ(GetObjectType(brush), 0u) << "the replaced brush is deleted";
    }
    ReleaseDC(hash2_, context);
    DeleteFieldBrush();
    EXPECT_EQ(GetObjectType(next), 0u);
    DeleteFieldBrush(); // twice is harmless
}

struct BoxSeen {
    FoundBox contents;
    bool found = false;
};

// Runs the compare step on this thread while a helper answers its box. No
// messages are pumped here once the step returns: what it posts stays queued.
BoxSeen CompareAndAnswer(HWND owner, int answer) {
    BoxSeen seen;
    std::thread helper([&] {
        HWND box = WaitForOwnedDialog(owner, kAppWait);
        if (box == nullptr)
            return;
        seen.found = true;
        seen.contents = ReadBox(box);
        PressButton(box, answer);
    });
    CompareFields();
    helper.join();
    return seen;
}

TEST_F(ComparisonTest, CompareBoxSaysIdenticalAndYesClearsAfterItCloses) {
    SetHashField(hash1_, &FieldInfo[0], kAbc, abcFile_.c_str(), false);
    SetHashField(hash2_, &FieldInfo[1], kAbc, abcCopy_.c_str(), false);
    BoxSeen seen = CompareAndAnswer(window_, IDYES);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.contents.caption, "Calverin");
    EXPECT_EQ(seen.contents.text,
              "MD5 checksums are identical.\n\nDo you want clear the checksums?");
    EXPECT_EQ(seen.contents.icon, LoadIconA(nullptr, IDI_INFORMATION));
    EXPECT_EQ(seen.contents.defaultButton, IDYES);
    EXPECT_TRUE(commandsReceived.empty()) << "posted, not sent";
    PumpMessages();
    ASSERT_EQ(commandsReceived.size(), 1u);
    EXPECT_EQ(commandsReceived[0], IDM_CLEAR_BOTH);
}

TEST_F(ComparisonTest, CompareBoxSaysNotIdenticalWithNoAsDefault) {
    SetHashField(hash1_, &FieldInfo[0], kAbc, nullptr, false);
    SetHashField(hash2_, &FieldInfo[1], kXyz, nullptr, false);
    BoxSeen seen = CompareAndAnswer(window_, IDNO);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.contents.caption, "Calverin");
    EXPECT_EQ(seen.contents.text,
              "MD5 checksums are not identical.\n\nDo you want clear the checksums?");
    EXPECT_EQ(seen.contents.icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_EQ(seen.contents.defaultButton, IDNO);
    PumpMessages();
    EXPECT_TRUE(commandsReceived.empty()) << "No clears nothing";
    EXPECT_EQ(WindowText(hash1_), kAbc);
}

// The same verdicts as the user sees them: field 2's pixels in the real program.
TEST(ComparisonRoad, Field2ShowsTheVerdictOnScreen) {
    ScratchFolder scratch;
    std::string abc = scratch.WriteFile("a file with a long name.txt", "abc");
    std::string copy = scratch.WriteFile("copy.txt", "abc");
    std::string xyz = scratch.WriteFile("xyz.txt", "xyz");
    std::string shortAbc = ShortPathOf(abc);
    ASSERT_NE(shortAbc, abc);
    auto quoted = [](const std::string& path) { return "\"" + path + "\""; };
    const COLORREF window = GetSysColor(COLOR_WINDOW);

    AppDriver app("StartInFullMode=1\nMultipleFiles=2\nSameFileColor=#0a14fa\n"
                  "SameHashColor=#0afa14\nDiffHashColor=#fa140a\n");
    ASSERT_TRUE(app.Start(quoted(abc) + " " + quoted(abc)));
    auto pairShown = [&](const char* second) {
        return app.WaitForText(IDC_HASH2, second) && app.WaitForIdle();
    };
    auto clear = [&] {
        app.Command(IDM_CLEAR_BOTH);
        return app.WaitForText(IDC_HASH1, "") && app.WaitForText(IDC_HASH2, "") &&
               app.WaitForField2Colour(window);
    };
    ASSERT_TRUE(pairShown(kAbc));
    EXPECT_TRUE(app.WaitForField2Colour(RGB(0x0a, 0x14, 0xfa))) << std::hex << app.Field2Pixel();
    EXPECT_EQ(app.Text(IDC_OPEN), "Compare");

    ASSERT_TRUE(clear());
    ASSERT_TRUE(app.HandOver(quoted(abc) + " " + quoted(shortAbc)));
    ASSERT_TRUE(pairShown(kAbc));
    EXPECT_TRUE(app.WaitForField2Colour(RGB(0x0a, 0x14, 0xfa))) << "long and short name";

    ASSERT_TRUE(clear());
    ASSERT_TRUE(app.HandOver(quoted(abc) + " " + quoted(copy)));
    ASSERT_TRUE(pairShown(kAbc));
    EXPECT_TRUE(app.WaitForField2Colour(RGB(0x0a, 0xfa, 0x14))) << "two copies";

    ASSERT_TRUE(clear());
    ASSERT_TRUE(app.HandOver(quoted(abc) + " " + quoted(xyz)));
    ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_HASH2).size() == 32; }));
    ASSERT_TRUE(app.WaitForIdle());
    EXPECT_TRUE(app.WaitForField2Colour(RGB(0xfa, 0x14, 0x0a))) << "different";
    app.Command(IDC_OPEN);
    HWND box = app.WaitForOwnedDialog();
    ASSERT_NE(box, nullptr);
    FoundBox contents = ReadBox(box);
    EXPECT_EQ(contents.caption, "Calverin");
    EXPECT_EQ(contents.text,
              "MD5 checksums are not identical.\n\nDo you want clear the checksums?");
    EXPECT_EQ(contents.defaultButton, IDNO);
    EXPECT_TRUE(contents.hasIcon);
    PressButton(box, IDNO);
    ASSERT_TRUE(app.WaitForNoOwnedDialog());
    EXPECT_EQ(app.Text(IDC_HASH1).size(), 32u) << "No keeps both";

    // Typed text: non-hex, then a lone checksum that moves up to field 1.
    ASSERT_TRUE(clear());
    app.SetText(IDC_HASH2, "900150983cd24fb0d6963f7d28e17fzz");
    EXPECT_TRUE(app.WaitForField2Colour(0x003737FF)) << std::hex << app.Field2Pixel();
    app.SetText(IDC_HASH2, kAbc);
    EXPECT_TRUE(app.WaitForText(IDC_HASH1, kAbc));
    EXPECT_EQ(app.Text(IDC_HASH2), "");
    EXPECT_TRUE(app.WaitForField2Colour(window));
    EXPECT_EQ(app.Text(IDC_OPEN), "Open");

    // An upper-case typed copy of a file's checksum: identical, and Yes clears.
    ASSERT_TRUE(clear());
    ASSERT_TRUE(app.HandOver(quoted(copy)));
    ASSERT_TRUE(app.WaitForText(IDC_HASH1, kAbc));
    std::string upper = kAbc;
    CharUpperA(&upper[0]);
    app.SetText(IDC_HASH2, upper);
    EXPECT_TRUE(app.WaitForField2Colour(RGB(0x0a, 0xfa, 0x14)));
    EXPECT_TRUE(app.WaitForText(IDC_OPEN, "Compare"));
    app.Command(IDC_OPEN);
    box = app.WaitForOwnedDialog();
    ASSERT_NE(box, nullptr);
    contents = ReadBox(box);
    EXPECT_EQ(contents.caption, "Calverin");
    EXPECT_EQ(contents.text, "MD5 checksums are identical.\n\nDo you want clear the checksums?");
    EXPECT_EQ(contents.defaultButton, IDYES);
    PressButton(box, IDYES);
    EXPECT_TRUE(app.WaitForText(IDC_HASH1, ""));
    EXPECT_TRUE(app.WaitForText(IDC_HASH2, ""));
    EXPECT_TRUE(app.WaitForField2Colour(window));
}

} // namespace
