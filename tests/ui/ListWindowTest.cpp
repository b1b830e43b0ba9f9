// The list window of a real verify run: its copied report reads line by line
// as md5sum -c prints it, its summary, the problems filter and a stop.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/AppDriver.h"
#include "tests/support/Clipboard.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UnixTools.h"
#include "res/resource.h"

namespace {

HWND WaitForListWindow(const char* caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowA(nullptr, caption)) != nullptr; }, kAppWait);
    return found;
}

std::string Summary(HWND list) {
    return WindowText(GetDlgItem(list, IDC_LIST_SUMMARY));
}

std::wstring ClipboardUnicode() {
    std::wstring text;
    if (!OpenClipboardWaiting())
        return text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (chars) {
        text.assign(chars, wcsnlen(chars, GlobalSize(data) / sizeof(wchar_t)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

} // namespace

TEST(ListWindow, ReportEqualsMd5sumAndStopLeavesTheRestUnchecked) {
    ScratchFolder folder;
    folder.WriteFile("a.txt", "abc");
    folder.WriteFile("b c.txt", "changed");
    CreateDirectoryA((folder.Path() + "\\sub").c_str(), nullptr);
    folder.WriteFile("sub\\d.txt", "abc");
    // The layouts mixed: text and binary markers, tag, an escaped name, a
    // missing file and a line not understood.
    const std::string list = "900150983cd24fb0d6963f7d28e17f72  a.txt\r\n"
                             "900150983cd24fb0d6963f7d28e17f72 *b c.txt\n"
                             "MD5 (sub/d.txt) = 900150983CD24FB0D6963F7D28E17F72\n"
                             "\\900150983cd24fb0d6963f7d28e17f72  sub/d.txt\n"
                             "# a comment\n"
                             "900150983cd24fb0d6963f7d28e17f72  gone.txt\n"
                             "not a checksum line\n";
    std::string listPath = folder.WriteFile("mixed.md5", list);
    AppDriver app;
    ASSERT_TRUE(app.Start("/VERIFY \"" + listPath + "\""));
    HWND window = WaitForListWindow("mixed.md5 - Calverin");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(
        WaitUntil([&] { return Summary(window).find("OK,") != std::string::npos; }, kAppWait));
    EXPECT_EQ(Summary(window), "3 OK, 1 FAILED, 1 could not be read, 1 lines not understood");
    ASSERT_TRUE(app.WaitForIdle());

    SendMessageA(GetDlgItem(window, IDC_LIST_COPY), BM_CLICK, 0, 0);
    std::wstring copied = ClipboardUnicode();
    std::string md5sum;
    std::string unixFolder = UnixPathOf(folder.Path());
    // md5sum's own output, then its warnings without its name.
    if (RunUnix("cd '" + unixFolder + "' && { md5sum -c mixed.md5 2>errors.txt; " +
                    "sed -n 's/^md5sum: WARNING/WARNING/p' errors.txt; }",
                &md5sum) >= 0 &&
        !md5sum.empty()) {
        std::wstring expected;
        for (char c : md5sum) {
            if (c == '\n')
                expected += L'\r';
            expected += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
        EXPECT_EQ(copied, expected);
    } else {
        EXPECT_NE(copied.find(L"gone.txt: FAILED open or read\r\n"), std::wstring::npos);
    }

    HWND view = GetDlgItem(window, IDC_LIST_VIEW);
    EXPECT_EQ(ListView_GetItemCount(view), 5);
    SendMessageA(GetDlgItem(window, IDC_LIST_PROBLEMS), BM_CLICK, 0, 0);
    EXPECT_EQ(ListView_GetItemCount(view), 2);

    // A long list stopped with the window's button: the rest not checked,
    // the status line idle again.
    std::string many;
    for (int i = 0; i < 20000; ++i)
        many += "900150983cd24fb0d6963f7d28e17f72  a.txt\n";
    std::string manyPath = folder.WriteFile("many.md5", many);
    ASSERT_TRUE(app.HandOver("/verify \"" + manyPath + "\""));
    HWND second = WaitForListWindow("many.md5 - Calverin");
    ASSERT_NE(second, nullptr);
    SendMessageA(GetDlgItem(second, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return Summary(second).rfind("Stopped: ", 0) == 0; }, kAppWait));
    EXPECT_TRUE(app.WaitForIdle());
    EXPECT_EQ(WindowText(GetDlgItem(second, IDCANCEL)), "Close");
}
