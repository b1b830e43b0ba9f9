#include "ui/StatusButton.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 20;

// A 32-bit top-down memory canvas whose pixels can be read back.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previousBitmap_ = SelectObject(dc_, bitmap_);
        previousFont_ = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, GetSysColor(COLOR_BTNTEXT));
    }
    ~Canvas() {
        SelectObject(dc_, previousFont_);
        SelectObject(dc_, previousBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        uint32_t bgr = static_cast<const uint32_t*>(bits_)[y * width_ + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }

  private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    void* bits_ = nullptr;
    HGDIOBJ previousBitmap_, previousFont_;
};

// The text's pixels: everything inside the one-pixel border that is not the
// button face, cut to its bounding box.
struct Ink {
    RECT box = {0, 0, 0, 0};
    std::vector<COLORREF> pixels;
    bool operator==(const Ink& other) const {
        return box.right - box.left == other.box.right - other.box.left &&
               box.bottom - box.top == other.box.bottom - other.box.top && pixels == other.pixels;
    }
};

Ink InkOf(const Canvas& canvas) {
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    Ink ink;
    ink.box = {canvas.Width(), canvas.Height(), 0, 0};
    for (int y = 1; y < canvas.Height() - 1; ++y)
        for (int x = 1; x < canvas.Width() - 1; ++x)
            if (canvas.Pixel(x, y) != face) {
                ink.box.left = std::min<LONG>(ink.box.left, x);
                ink.box.top = std::min<LONG>(ink.box.top, y);
                ink.box.right = std::max<LONG>(ink.box.right, x + 1);
                ink.box.bottom = std::max<LONG>(ink.box.bottom, y + 1);
            }
    for (int y = ink.box.top; y < ink.box.bottom; ++y)
        for (int x = ink.box.left; x < ink.box.right; ++x)
            ink.pixels.push_back(canvas.Pixel(x, y));
    return ink;
}

// How text looks in the canvas font, wherever it is placed.
Ink InkOfText(const char* text) {
    Canvas canvas(kWidth, kHeight);
    RECT all = {0, 0, kWidth, kHeight};
    FillRect(canvas.Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    RECT inner = {2, 2, kWidth - 2, kHeight - 2};
    DrawTextA(canvas.Dc(), text, -1, &inner, DT_SINGLELINE | DT_NOPREFIX);
    return InkOf(canvas);
}

enum class Look { Flat, Raised, Sunken };

Look LookOf(const Canvas& canvas) {
    COLORREF topLeft = canvas.Pixel(0, 0);
    COLORREF bottomRight = canvas.Pixel(canvas.Width() - 1, canvas.Height() - 1);
    if (topLeft == GetSysColor(COLOR_BTNHIGHLIGHT) && bottomRight == GetSysColor(COLOR_BTNSHADOW))
        return Look::Raised;
    if (topLeft == GetSysColor(COLOR_BTNSHADOW) && bottomRight == GetSysColor(COLOR_BTNHIGHLIGHT))
        return Look::Sunken;
    EXPECT_EQ(topLeft, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(bottomRight, GetSysColor(COLOR_BTNFACE));
    return Look::Flat;
}

const char* LookName(Look look) {
    return look == Look::Flat ? "flat" : look == Look::Raised ? "raised" : "sunken";
}

// Records what reaches the button's previous procedure.
std::vector<UINT> Forwarded;
WNDPROC ButtonProc = nullptr;
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Forwarded.push_back(message);
    return CallWindowProcA(ButtonProc, window, message, wParam, lParam);
}

class StatusButtonTest : public testing::Test {
  protected:
    void SetUp() override {
        // Keep the real pointer away, so no move of it reaches the button.
        SetCursorPos(1200, 1000);
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth + 20,
                                  kHeight + 20, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        button_ =
            CreateWindowExA(0, "BUTTON", "Calverin", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10,
                            kWidth, kHeight, parent_, (HMENU)IDC_STATUS, nullptr, nullptr);
        ASSERT_NE(button_, nullptr);
        Forwarded.clear();
        ButtonProc = (WNDPROC)SetWindowLongPtrA(button_, GWLP_WNDPROC, (LONG_PTR)RecordingProc);
        SubclassStatusButton(button_);
    }
    void TearDown() override {
        if (GetCapture() != nullptr)
            ReleaseCapture();
        DestroyWindow(parent_);
    }

    LRESULT Hot() const { return SendMessageA(button_, UM_STATUS_IS_HOT, 0, 0); }
    void SetBusy(bool busy) const { SendMessageA(button_, UM_STATUS_BUSY, 1, busy ? 1 : 0); }
    void MoveTo(int x, int y) const { SendMessageA(button_, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

    // Draws the button as the main window would on WM_DRAWITEM.
    void Draw(Canvas& canvas, UINT state, UINT action = ODA_DRAWENTIRE) const {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDC_STATUS;
        item.itemAction = action;
        item.itemState = state;
        item.hwndItem = button_;
        item.hDC = canvas.Dc();
        item.rcItem = {0, 0, canvas.Width(), canvas.Height()};
        DrawStatusButton(&item);
    }

    void ExpectDrawn(UINT state, UINT action, const char* text, Look look) const {
        Canvas canvas(kWidth, kHeight);
        Draw(canvas, state, action);
        EXPECT_EQ(LookName(LookOf(canvas)), std::string(LookName(look)));
        Ink drawn = InkOf(canvas);
        EXPECT_TRUE(drawn == InkOfText(text)) << "expected the text \"" << text << "\"";
    }

    HWND parent_ = nullptr;
    HWND button_ = nullptr;
};

TEST_F(StatusButtonTest, BusyFlagStartsSetAndFollowsMessages) {
    EXPECT_EQ(SendMessageA(button_, UM_STATUS_BUSY, 0, 0), 1);
    EXPECT_EQ(SendMessageA(button_, UM_STATUS_BUSY, 1, 0), 0);
    EXPECT_EQ(SendMessageA(button_, UM_STATUS_BUSY, 0, 123), 0); // wParam 0 only reads
    EXPECT_EQ(SendMessageA(button_, UM_STATUS_BUSY, 1, 7), 0);
    EXPECT_EQ(SendMessageA(button_, UM_STATUS_BUSY, 0, 0), 1);
    EXPECT_EQ(Hot(), 0);
}

TEST_F(StatusButtonTest, PointerEnteringCapturesAndLeavingReleases) {
    RECT client;
    GetClientRect(button_, &client);
    MoveTo(5, 5);
    EXPECT_EQ(Hot(), 1);
    EXPECT_EQ(GetCapture(), button_);
    // The right and bottom edges still count as inside.
    MoveTo(client.right, client.bottom);
    EXPECT_EQ(Hot(), 1);
    EXPECT_EQ(GetCapture(), button_);
    MoveTo(client.right + 1, 5);
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    // Left of or above the button (negative while captured) is outside.
    MoveTo(0, 0);
    EXPECT_EQ(Hot(), 1);
    MoveTo(-1, 5);
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    MoveTo(5, 0);
    MoveTo(5, -1);
    EXPECT_EQ(Hot(), 0);
    // Mouse moves and capture changes are the button's own business.
    for (UINT message : Forwarded) {
        EXPECT_NE(message, static_cast<UINT>(WM_MOUSEMOVE));
        EXPECT_NE(message, static_cast<UINT>(WM_CAPTURECHANGED));
    }
}

TEST_F(StatusButtonTest, LeavingWhilePressedPopsTheButtonUp) {
    MoveTo(5, 5);
    SendMessageA(button_, BM_SETSTATE, TRUE, 0);
    ASSERT_TRUE(SendMessageA(button_, BM_GETSTATE, 0, 0) & BST_PUSHED);
    MoveTo(kWidth + 5, 5);
    EXPECT_FALSE(SendMessageA(button_, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(Hot(), 0);
}

TEST_F(StatusButtonTest, LosingTheCaptureEndsTheHoverLook) {
    MoveTo(5, 5);
    SendMessageA(button_, BM_SETSTATE, TRUE, 0);
    SetCapture(parent_);
    EXPECT_EQ(Hot(), 0);
    EXPECT_FALSE(SendMessageA(button_, BM_GETSTATE, 0, 0) & BST_PUSHED);
    ReleaseCapture();

    // The jobs send WM_CANCELMODE when they pause or end.
    MoveTo(5, 5);
    ASSERT_EQ(Hot(), 1);
    SendMessageA(button_, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(StatusButtonTest, OtherMessagesReachThePreviousProcedure) {
    Forwarded.clear();
    SetWindowTextA(button_, "[  Searching checksum  ]");
    SendMessageA(button_, BM_SETSTATE, TRUE, 0);
    auto reached = [](UINT message) {
        return std::find(Forwarded.begin(), Forwarded.end(), message) != Forwarded.end();
    };
    EXPECT_TRUE(reached(WM_SETTEXT));
    EXPECT_TRUE(reached(BM_SETSTATE));
    EXPECT_TRUE(SendMessageA(button_, BM_GETSTATE, 0, 0) & BST_PUSHED);
    char text[64] = "";
    GetWindowTextA(button_, text, sizeof text);
    EXPECT_STREQ(text, "[  Searching checksum  ]");
}

TEST_F(StatusButtonTest, DisabledShowsItsCaptionFlat) {
    // Hot, focused and busy, yet disabled: none of it shows.
    MoveTo(5, 5);
    ASSERT_EQ(Hot(), 1);
    ExpectDrawn(ODS_DISABLED | ODS_FOCUS, ODA_DRAWENTIRE, "Calverin", Look::Flat);
    ExpectDrawn(ODS_DISABLED | ODS_SELECTED, ODA_SELECT, "Calverin", Look::Flat);
}

TEST_F(StatusButtonTest, BusyAndHotReadsCancelOperation) {
    SetWindowTextA(button_, "[  Calculating checksum  ]");
    ExpectDrawn(0, ODA_DRAWENTIRE, "[  Calculating checksum  ]", Look::Flat);
    MoveTo(5, 5);
    ExpectDrawn(0, ODA_DRAWENTIRE, "Cancel operation", Look::Raised);
    MoveTo(-5, 5);
    ExpectDrawn(0, ODA_DRAWENTIRE, "[  Calculating checksum  ]", Look::Flat);
}

TEST_F(StatusButtonTest, NotBusyKeepsItsCaptionInEveryLook) {
    SetWindowTextA(button_, "Calculate next checksum >>>");
    SetBusy(false);
    MoveTo(5, 5);
    ExpectDrawn(0, ODA_DRAWENTIRE, "Calculate next checksum >>>", Look::Raised);
    ExpectDrawn(ODS_SELECTED, ODA_SELECT, "Calculate next checksum >>>", Look::Sunken);
}

TEST_F(StatusButtonTest, PressedIsSunkenWithTheTextMovedOnePixel) {
    SetWindowTextA(button_, "[  Searching checksum  ]");
    MoveTo(5, 5);
    Canvas raised(kWidth, kHeight), pressed(kWidth, kHeight);
    Draw(raised, 0);
    Draw(pressed, ODS_SELECTED | ODS_FOCUS, ODA_SELECT);
    EXPECT_EQ(LookOf(pressed), Look::Sunken);
    Ink up = InkOf(raised), down = InkOf(pressed);
    EXPECT_TRUE(down == InkOfText("Cancel operation"));
    EXPECT_EQ(down.box.left, up.box.left + 1);
    EXPECT_EQ(down.box.top, up.box.top + 1);
}

TEST_F(StatusButtonTest, FocusShowsRaisedOnlyWhileTheButtonHasIt) {
    SetWindowTextA(button_, "[  Searching checksum  ]");
    ExpectDrawn(ODS_FOCUS, ODA_DRAWENTIRE, "Cancel operation", Look::Raised);
    ExpectDrawn(ODS_FOCUS, ODA_FOCUS, "Cancel operation", Look::Raised);
    ExpectDrawn(ODS_FOCUS | ODS_NOFOCUSRECT, ODA_DRAWENTIRE, "[  Searching checksum  ]",
                Look::Flat);
    // A focus change without ODS_FOCUS is the focus going away.
    ExpectDrawn(0, ODA_FOCUS, "[  Searching checksum  ]", Look::Flat);
}

} // namespace
