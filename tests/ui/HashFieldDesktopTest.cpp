// The hash fields and their tooltips in the real Calverin.exe, driven with the
// X server's own keyboard and mouse (xdotool) and heard through its bell.
#include "system/FileFacts.h"
#include "res/resource.h"
#include "tests/support/AppDriver.h"
#include "tests/support/Clipboard.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UnixTools.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const char kAbc[] = "900150983cd24fb0d6963f7d28e17f72"; // MD5 of "abc"
const char kMixed[] = "D41D8cd98F00b204E9800998ECF8427e";

std::string Coordinates(POINT point) {
    return std::to_string(point.x) + " " + std::to_string(point.y);
}

POINT CentreOf(HWND control) {
    RECT frame = {};
    GetWindowRect(control, &frame);
    return {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
}

// Two steps, so the window under the pointer sees it arrive.
bool MoveTo(POINT point) {
    POINT before = {point.x - 12, point.y};
    return Xdotool("mousemove " + Coordinates(before) + " mousemove " + Coordinates(point));
}

bool ClickAt(POINT point, int button) {
    return MoveTo(point) && Xdotool("click " + std::to_string(button));
}

struct ClassSearch {
    const char* className;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchVisibleOfClass(HWND window, LPARAM param) {
    ClassSearch* search = reinterpret_cast<ClassSearch*>(param);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) ||
        lstrcmpiA(name, search->className) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// A shown top-level window of the program's process by class: "#32768" for
// a popup menu, "tooltips_class32" for the tip.
HWND ShownWindow(const AppDriver& app, const char* className) {
    ClassSearch search = {className, app.ProcessId(), nullptr};
    EnumWindows(MatchVisibleOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForShown(const AppDriver& app, const char* className) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = ShownWindow(app, className)) != nullptr; }, kAppWait);
    return found;
}

} // namespace

TEST(HashFieldDesktop, ContextMenuShiftF10AndCtrlVForReal) {
    ScratchFolder folder;
    std::string file = folder.WriteFile("abc.txt", "abc");
    AppDriver app("StartInFullMode=1\n");
    ASSERT_TRUE(app.Start("\"" + file + "\""));
    ASSERT_TRUE(app.WaitForText(IDC_HASH1, kAbc));
    BellCounter bells;
    ASSERT_TRUE(bells.Ready());
    const POINT field1 = CentreOf(app.Control(IDC_HASH1));
    const POINT field2 = CentreOf(app.Control(IDC_HASH2));

    // Ctrl+V into the read-only field: a line of a checksum list, case kept.
    ASSERT_TRUE(PutClipboardText(nullptr, std::string(kMixed) + "  old build.iso\r\n"));
    ASSERT_TRUE(ClickAt(field1, 1));
    ASSERT_TRUE(Xdotool("key ctrl+v"));
    EXPECT_TRUE(app.WaitForText(IDC_HASH1, kMixed));

    // A labelled checksum is refused with the bell.
    ASSERT_TRUE(PutClipboardText(nullptr, std::string("MD5 (old build.iso) = ") + kAbc));
    ASSERT_TRUE(Xdotool("key ctrl+v"));
    EXPECT_TRUE(bells.WaitForCount(1));
    EXPECT_EQ(app.Text(IDC_HASH1), kMixed);

    // Ten typed characters take the paste at the caret, up to the limit.
    ASSERT_TRUE(PutClipboardText(nullptr, kAbc));
    ASSERT_TRUE(ClickAt(field2, 1));
    ASSERT_TRUE(Xdotool("type 0123456789"));
    ASSERT_TRUE(app.WaitForText(IDC_HASH2, "0123456789"));
    ASSERT_TRUE(Xdotool("key ctrl+v"));
    EXPECT_TRUE(app.WaitForText(IDC_HASH2, "0123456789" + std::string(kAbc, 22)));

    // Right-click: the menu opens at the pointer; its last item clears the field.
    ASSERT_TRUE(ClickAt(field2, 3));
    HWND menu = WaitForShown(app, "#32768");
    ASSERT_NE(menu, nullptr);
    RECT frame = {};
    GetWindowRect(menu, &frame);
    EXPECT_EQ(frame.left, field2.x);
    EXPECT_EQ(frame.top, field2.y);
    ASSERT_TRUE(ClickAt({frame.left + 30, frame.bottom - 8}, 1)); // "Cl&ear Hash"
    EXPECT_TRUE(app.WaitForText(IDC_HASH2, ""));
    EXPECT_TRUE(WaitUntil([&] { return ShownWindow(app, "#32768") == nullptr; }));

    // Shift+F10 in field 2 opens the menu at the pointer, away from the
    // caret; its Paste takes the whole checksum into the empty field.
    const POINT away = {field2.x + 40, field2.y + 90};
    ASSERT_TRUE(MoveTo(away));
    ASSERT_TRUE(Xdotool("key shift+F10"));
    menu = WaitForShown(app, "#32768");
    ASSERT_NE(menu, nullptr);
    GetWindowRect(menu, &frame);
    EXPECT_EQ(frame.left, away.x);
    EXPECT_EQ(frame.top, away.y);
    ASSERT_TRUE(Xdotool("key p"));
    EXPECT_TRUE(app.WaitForText(IDC_HASH2, kAbc));

    // Ctrl+C with nothing selected copies the whole field.
    ASSERT_TRUE(PutClipboardText(nullptr, "before"));
    ASSERT_TRUE(Xdotool("key ctrl+c"));
    EXPECT_TRUE(WaitUntil([] { return ClipboardText() == kAbc; }));

    // One more refusal: the second bell heard, so nothing else beeped.
    ASSERT_TRUE(PutClipboardText(nullptr, "no checksum"));
    ASSERT_TRUE(Xdotool("key ctrl+v"));
    EXPECT_TRUE(bells.WaitForCount(2));
    EXPECT_EQ(bells.Count(), 2);
    EXPECT_EQ(app.Text(IDC_HASH2), kAbc);
}

TEST(HashFieldDesktop, FileTooltipShowsWhereTheChecksumCameFrom) {
    ScratchFolder folder;
    std::string file = folder.WriteFile("Quarterly figures & notes for review.txt", "abc");
    AppDriver app("StartInFullMode=1\n");
    ASSERT_TRUE(app.Start("\"" + file + "\""));
    ASSERT_TRUE(app.WaitForText(IDC_HASH1, kAbc));

    ASSERT_TRUE(MoveTo(CentreOf(app.Control(IDC_HASH1))));
    HWND tip = WaitForShown(app, "tooltips_class32");
    ASSERT_NE(tip, nullptr);
    char longPath[MAX_PATH] = "";
    ASSERT_NE(GetLongPathNameA(file.c_str(), longPath, MAX_PATH), 0u);
    FILETIME modified = {};
    ASSERT_TRUE(QueryFileTime(file.c_str(), &modified));
    char time[64], size[64];
    std::string expected = std::string(longPath) +
                           "\r\nModified: " + FormatFileTime(time, &modified) +
                           "\r\nSize: " + FormatFileSize(size, 3, 0);
    EXPECT_EQ(WindowText(tip), expected);
    RECT tipFrame = {}, fieldFrame = {};
    GetWindowRect(tip, &tipFrame);
    GetWindowRect(app.Control(IDC_HASH1), &fieldFrame);
    EXPECT_GE(tipFrame.top, fieldFrame.bottom);
    // A picture for people: the program's window with the tip below field 1.
    EXPECT_EQ(RunUnix("import -window root '" +
                      UnixPathOf(ExeFolder() + "\\tooltip-screenshot.png") + "'"),
              0);

    // Field 2 holds nothing: no tip there.
    ASSERT_TRUE(MoveTo(CentreOf(app.Control(IDC_HASH2))));
    EXPECT_TRUE(WaitUntil([&] { return ShownWindow(app, "tooltips_class32") == nullptr; }));
}
