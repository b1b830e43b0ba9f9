#include "ui/AboutDialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "res/resource.h"
#include "tests/support/RegistrySnapshot.h"
#include "tests/ui/DialogTestSupport.h"
#include "ui/LinkButton.h"

namespace {

// ShellExecute of an http address starts this command.
constexpr const char* kHttpCommandKey = "http\\shell\\open\\command";

// Counts the link's click notifications that reach its dialog.
std::atomic<int> LinkClicks;

LRESULT CALLBACK CountLinkClicks(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->message == WM_COMMAND && LOWORD(call->wParam) == IDC_LINK)
        ++LinkClicks;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The prefix's http handler replaced by a recorder of the addresses opened.
class AboutDialogTest : public DialogHostTest {
  protected:
    void SetUp() override {
        DialogHostTest::SetUp();
        log_ = scratch_.Path() + "\\opened.txt";
        SetEnvironmentVariableA("CALVERIN_URL_LOG", log_.c_str());
        guard_ = new RegistrySnapshot(HKEY_CLASSES_ROOT, kHttpCommandKey);
        std::string command = "\"" + ExeFolder() + "\\calverin_url_recorder.exe\" \"%1\"";
        RegSetValueA(HKEY_CLASSES_ROOT, kHttpCommandKey, REG_SZ, command.c_str(),
                     (DWORD)command.size());
        LinkClicks = 0;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, CountLinkClicks, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        UnhookWindowsHookEx(hook_);
        delete guard_;
        SetEnvironmentVariableA("CALVERIN_URL_LOG", nullptr);
        DialogHostTest::TearDown();
    }
    // Opens the dialog with the main window's command and drives it.
    void Open(const std::function<void(HWND)>& drive) { OpenByCommand(IDM_ABOUT, "About", drive); }
    // The addresses opened so far, one per line.
    std::vector<std::string> Opened() const {
        std::ifstream file(log_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);)
            lines.push_back(line);
        return lines;
    }
    bool WaitForOpened(size_t count) const {
        return WaitUntil([&] { return Opened().size() >= count; });
    }

    std::string log_;
    RegistrySnapshot* guard_ = nullptr;
    HHOOK hook_ = nullptr;
};

RECT TextRectOnScreen(HWND link) {
    RECT text = {};
    SendMessageA(link, UM_LINK_GET_TEXT_RECT, 0, (LPARAM)&text);
    RECT window;
    GetWindowRect(link, &window);
    OffsetRect(&text, window.left, window.top);
    return text;
}

TEST_F(AboutDialogTest, LinkOpensTheWebPageAndTheDialogStaysOpen) {
    Open([&](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), "About - Calverin");
        HWND link = GetDlgItem(dialog, IDC_LINK);
        EXPECT_NE(WindowText(link).find(kMakerWebPage), std::string::npos);
        SendMessageA(link, BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitForOpened(1));
        EXPECT_TRUE(IsWindowVisible(dialog));
        SendMessageA(link, BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitForOpened(2));
        EXPECT_TRUE(IsWindowVisible(dialog));
    });
    std::vector<std::string> opened = Opened();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], kMakerWebPage);
    EXPECT_EQ(opened[1], kMakerWebPage);
}

TEST_F(AboutDialogTest, TabReachesTheLinkAndSpaceOpensThePage) {
    Open([&](HWND dialog) {
        HWND ok = GetDlgItem(dialog, IDOK);
        HWND link = GetDlgItem(dialog, IDC_LINK);
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(dialog) == ok; }));
        PostKey(ok, VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == link; }));
        PostKey(link, VK_SPACE);
        EXPECT_TRUE(WaitForOpened(1));
        PostKey(link, VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == ok; }));
    });
    EXPECT_EQ(LinkClicks, 1);
}

TEST_F(AboutDialogTest, OnlyTheCaptionOfTheLinkIsLive) {
    Open([&](HWND dialog) {
        HWND link = GetDlgItem(dialog, IDC_LINK);
        HFONT underlined = (HFONT)SendMessageA(link, WM_GETFONT, 0, 0);
        HFONT dialogFont = (HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0);
        ASSERT_NE(underlined, dialogFont) << "the link is underlined at rest";
        RECT button;
        GetWindowRect(link, &button);
        RECT text = TextRectOnScreen(link);
        ASSERT_LT(text.right + 4, button.right) << "no room right of the caption";
        POINT onText = {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
        POINT beside = {(text.right + button.right) / 2, onText.y};

        EXPECT_EQ(SendMessageA(link, WM_NCHITTEST, 0, MAKELPARAM(beside.x, beside.y)),
                  HTTRANSPARENT);
        EXPECT_NE(SendMessageA(link, WM_NCHITTEST, 0, MAKELPARAM(onText.x, onText.y)),
                  HTTRANSPARENT);

        // Over the caption: hand and plain font; beside it: neither.
        HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
        MovePointer(onText);
        EXPECT_TRUE(
            WaitUntil([&] { return (HFONT)SendMessageA(link, WM_GETFONT, 0, 0) == dialogFont; }));
        CURSORINFO cursor = {};
        cursor.cbSize = sizeof cursor;
        EXPECT_TRUE(WaitUntil([&] { return GetCursorInfo(&cursor) && cursor.hCursor == hand; }));
        MovePointer(beside);
        EXPECT_TRUE(
            WaitUntil([&] { return (HFONT)SendMessageA(link, WM_GETFONT, 0, 0) == underlined; }));
        EXPECT_TRUE(WaitUntil([&] { return GetCursorInfo(&cursor) && cursor.hCursor != hand; }));

        // A click beside the caption does nothing; the one on it that follows
        // is the only click the dialog hears of.
        ClickPointer(beside);
        ClickPointer(onText);
        EXPECT_TRUE(WaitUntil([&] { return LinkClicks >= 1; }));
        EXPECT_TRUE(WaitForOpened(1));
        EXPECT_TRUE(IsWindowVisible(dialog));
    });
    EXPECT_EQ(LinkClicks, 1);
}

TEST_F(AboutDialogTest, HitTestingHoldsOnScreensLeftOfAndAboveThePrimary) {
    Open([&](HWND dialog) {
        SetWindowPos(dialog, nullptr, -700, -300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        HWND link = GetDlgItem(dialog, IDC_LINK);
        RECT text = TextRectOnScreen(link);
        ASSERT_LT(text.right, 0);
        ASSERT_LT(text.bottom, 0);
        auto hit = [&](int x, int y) {
            return SendMessageA(link, WM_NCHITTEST, 0, MAKELPARAM(x, y));
        };
        EXPECT_NE(hit(text.left, text.top), HTTRANSPARENT);
        EXPECT_NE(hit(text.right, text.bottom), HTTRANSPARENT);
        EXPECT_EQ(hit(text.right + 1, text.top), HTTRANSPARENT);
        EXPECT_EQ(hit(text.left, text.bottom + 1), HTTRANSPARENT);
        EXPECT_EQ(hit(text.left - 1, text.top), HTTRANSPARENT);
    });
}

TEST_F(AboutDialogTest, ResourceModuleHoldingAnAboutDialogDoesNotReplaceIt) {
    OpenResourceModule((ExeFolder() + "\\custom_about.dll").c_str());
    ASSERT_NE(ResourceModule.custom, nullptr);
    ASSERT_NE(FindResourceA(ResourceModule.custom, MAKEINTRESOURCEA(IDD_ABOUT), (LPCSTR)RT_DIALOG),
              nullptr);
    Open([&](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), "About - Calverin");
        EXPECT_NE(GetDlgItem(dialog, IDC_LINK), nullptr);
    });
    CloseResourceModule();
}

} // namespace
