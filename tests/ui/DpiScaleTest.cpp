// The main window at other DPIs than 96: started on a scaled screen, and told
// of a new DPI while it runs (as Windows does when it moves to a monitor with
// another scale).
#include "ui/DpiScale.h"

#include <gtest/gtest.h>

#include <utility>

#include "system/OptionalFunctions.h"
#include "ui/MainWindow.h"
#include "res/resource.h"
#include "tests/support/AppDriver.h"
#include "tests/support/RegistrySnapshot.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/DialogTestSupport.h"
#include "tests/ui/MainWindowTestSupport.h"

namespace {

constexpr int kStep96 = 39; // the expand step at 96 DPI

using Size = std::pair<int, int>; // width, height
const Size kArrow96 = {15, 8};    // the arrows as drawn

Size SizeOf(HWND window) {
    RECT outer = {};
    GetWindowRect(window, &outer);
    return Size{outer.right - outer.left, outer.bottom - outer.top};
}

Size BitmapSize(HWND picture) {
    BITMAP facts = {};
    HGDIOBJ bitmap = (HGDIOBJ)SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0);
    GetObjectA(bitmap, sizeof facts, &facts);
    return Size{facts.bmWidth, facts.bmHeight};
}

Size Scaled(Size size, int dpi) {
    return Size{MulDiv(size.first, dpi, 96), MulDiv(size.second, dpi, 96)};
}

// WM_DPICHANGED as Windows sends it, with the window's rectangle scaled as
// the suggestion.
void SendDpiChange(HWND window, int from, int to) {
    RECT outer;
    GetWindowRect(window, &outer);
    RECT suggested = {outer.left, outer.top,
                      outer.left + MulDiv(outer.right - outer.left, to, from),
                      outer.top + MulDiv(outer.bottom - outer.top, to, from)};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(to, to), (LPARAM)&suggested);
}

// A control's distances to the right and bottom edges of its dialog's client
// area.
Size ToCorner(HWND dialog, int id) {
    RECT client, place;
    GetClientRect(dialog, &client);
    GetWindowRect(GetDlgItem(dialog, id), &place);
    MapWindowPoints(nullptr, dialog, (POINT*)&place, 2);
    return Size{client.right - place.right, client.bottom - place.bottom};
}

// Starts the program collapsed on a screen of dpi; yields its expand
// picture's size and the height that expanding adds, or a step of 0. Wine
// gives each program the DPI that LogPixels holds when it starts; the value
// goes back as soon as the window is up, so that no other program sees it.
std::pair<Size, int> ShownAtDpi(DWORD dpi) {
    AppDriver app("StartInFullMode=0\n");
    {
        RegistrySnapshot keep(HKEY_CURRENT_USER, "Control Panel\\Desktop");
        HKEY key = nullptr;
        RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_SET_VALUE, &key);
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, (const BYTE*)&dpi, sizeof dpi);
        RegCloseKey(key);
        if (!app.Start())
            return {};
    }
    Size expand = SizeOf(app.Control(IDC_EXPAND));
    int collapsed = SizeOf(app.Window()).second;
    app.Command(IDC_EXPAND);
    WaitUntil([&] { return SizeOf(app.Window()).second != collapsed; }, kAppWait);
    return {expand, SizeOf(app.Window()).second - collapsed};
}

} // namespace

TEST(DpiScale, AtOneAndAHalfTimesTheDpiPicturesAndStepAreOneAndAHalfTimesAsLarge) {
    std::pair<Size, int> at96 = ShownAtDpi(96), at144 = ShownAtDpi(144);
    EXPECT_EQ(at96, std::make_pair(kArrow96, kStep96));
    EXPECT_EQ(at144, std::make_pair(Scaled(kArrow96, 144), MulDiv(kStep96, 144, 96)));
}

class DpiChangeTest : public testing::Test, protected MainWindowTestBase {
  protected:
    // Returns once the window has settled at the new DPI.
    bool ChangeDpi(int from, int to) {
        int width = MulDiv(SizeOf(window_).first, to, from);
        SendDpiChange(window_, from, to);
        Size expected = Scaled(kArrow96, to);
        return WaitUntil([&] {
            return SizeOf(GetDlgItem(window_, IDC_EXPAND)) == expected &&
                   SizeOf(window_).first == width;
        });
    }
    int IconWidth() const {
        ICONINFO info = {};
        BITMAP facts = {};
        GetIconInfo((HICON)SendMessageA(window_, WM_GETICON, ICON_BIG, 0), &info);
        GetObjectA(info.hbmColor, sizeof facts, &facts);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return facts.bmWidth;
    }
};

TEST_F(DpiChangeTest, PicturesIconAndStepFollowTheNewDpiAndComeBack) {
    Settings.StartInFullMode = false;
    ASSERT_TRUE(CreateMain());
    Size menu96 = BitmapSize(GetDlgItem(window_, IDC_MENU));
    int icon96 = IconWidth();

    ASSERT_TRUE(ChangeDpi(96, 192));
    EXPECT_EQ(BitmapSize(GetDlgItem(window_, IDC_COLLAPSE)), Scaled(kArrow96, 192));
    EXPECT_EQ(BitmapSize(GetDlgItem(window_, IDC_MENU)), Scaled(menu96, 192));
    int systemIcon = OptGetSystemMetricsForDpi(SM_CXICON, 192);
    EXPECT_EQ(IconWidth(), systemIcon != 0 ? systemIcon : icon96);
    int collapsed = Height();
    SendMessageA(window_, WM_COMMAND, IDC_EXPAND, 0);
    EXPECT_EQ(Height() - collapsed, MulDiv(kStep96, 192, 96));

    // Loaded afresh, never the enlarged picture made smaller.
    ASSERT_TRUE(ChangeDpi(192, 96));
    EXPECT_EQ(BitmapSize(GetDlgItem(window_, IDC_MENU)), menu96);
    EXPECT_EQ(IconWidth(), icon96);
}

class HashStringDpiTest : public DialogHostTest {};

// The dialog manager lays a template out anew, not the user's size: the
// dialog's own anchors, its grip and its smallest size follow the new DPI.
TEST_F(HashStringDpiTest, ANewDpiScalesTheAnchoredLayoutTheGripAndTheSmallestSize) {
    OpenByCommand(IDM_HASH_STRING, "Hash String", [](HWND dialog) {
        HWND picture = GetDlgItem(dialog, IDC_MENU);
        Size ok96 = ToCorner(dialog, IDOK);
        Size menu96 = BitmapSize(picture);
        SendDpiChange(dialog, 96, 192);
        ASSERT_TRUE(WaitUntil([&] { return BitmapSize(picture) == Scaled(menu96, 192); }));
        EXPECT_EQ(ToCorner(dialog, IDOK), Scaled(ok96, 192));
        EXPECT_EQ(SizeOf(GetDlgItem(dialog, IDC_SIZE_GRIP)),
                  (Size{OptGetSystemMetricsForDpi(SM_CXVSCROLL, 192),
                        OptGetSystemMetricsForDpi(SM_CYHSCROLL, 192)}));
        EXPECT_EQ(ToCorner(dialog, IDC_SIZE_GRIP), (Size{0, 0}));
        SetWindowPos(dialog, nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(SizeOf(dialog), (Size{MulDiv(288, 192, 96), MulDiv(146, 192, 96)}));
    });
}
