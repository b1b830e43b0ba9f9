// The resource script against the program's tables: dialog templates (read
// from the resource bytes and created as real dialogs), menu, accelerators,
// bitmaps and icon.
#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

struct Control {
    int id;
    std::string className;
    DWORD style; // WS_CHILD and WS_VISIBLE, which every control has, left out
    DWORD exStyle;
    int x, y, cx, cy;
    std::string text; // "#n" for a resource ordinal (an icon)
};

struct Dialog {
    bool extended;
    DWORD style;
    DWORD exStyle;
    std::string caption;
    int cx, cy;
    std::vector<Control> controls;
};

const char kFont[] = "MS Shell Dlg";
constexpr int kFontSize = 8;
const DWORD kFixedDialog = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_CAPTION | WS_SYSMENU;

const Dialog kMain = {
    true,
    kFixedDialog,
    WS_EX_ACCEPTFILES,
    "Calverin",
    177,
    59,
    {
        {IDC_MENU, "Static", SS_BITMAP | SS_NOTIFY | SS_SUNKEN | WS_TABSTOP, 0, 143, 41, 27, 12,
         ""},
        {IDC_STATUS, "Button", BS_OWNERDRAW | WS_TABSTOP, 0, 7, 2, 163, 11, ""},
        {IDC_HASH1, "Edit", ES_READONLY | ES_AUTOHSCROLL | ES_CENTER | WS_TABSTOP, WS_EX_STATICEDGE,
         7, 14, 163, 10, ""},
        {IDC_HASH2, "Edit", ES_AUTOHSCROLL | ES_CENTER | WS_TABSTOP, WS_EX_STATICEDGE, 7, 26, 163,
         10, ""},
        {IDC_OPEN, "Button", BS_PUSHBUTTON | WS_TABSTOP, 0, 7, 40, 36, 13, "Open"},
        {IDC_EXPAND, "Static", SS_BITMAP | SS_NOTIFY, 0, 84, 26, 10, 5, ""},
        {IDC_COLLAPSE, "Static", SS_BITMAP | SS_NOTIFY, 0, 84, 49, 10, 5, ""},
    }};

const Dialog kHashString = {
    false,
    kFixedDialog | WS_THICKFRAME,
    0,
    "Hash String - Calverin",
    205,
    84,
    {
        {IDC_STRING_TEXT, "Edit",
         ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0, 1,
         1, 203, 57, ""},
        {IDOK, "Button", BS_PUSHBUTTON | WS_TABSTOP, 0, 160, 65, 38, 13, "OK"},
        {IDC_MENU, "Static", SS_BITMAP | SS_SUNKEN, 0, 8, 65, 27, 12, ""},
    }};

const DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kSwatch = BS_OWNERDRAW | WS_TABSTOP;
const DWORD kLabel = SS_LEFT | WS_GROUP;

const Dialog kOptions = {
    false,
    kFixedDialog,
    0,
    "Options - Calverin",
    182,
    186,
    {
        {IDC_OPT_FRAME, "Static", SS_SIMPLE | SS_SUNKEN, 0, 2, 2, 178, 182, ""},
        {-1, "Button", BS_GROUPBOX, 0, 7, 7, 168, 155, "Options"},
        {IDOK, "Button", BS_PUSHBUTTON | WS_TABSTOP, 0, 135, 166, 40, 13, "OK"},
        {IDC_OPT_FULL_MODE, "Button", kCheckBox, 0, 17, 20, 145, 9,
         "Start with main window expanded"},
        {IDC_OPT_OPEN_AT_START, "Button", kCheckBox, 0, 17, 33, 145, 9,
         "Show open file dialog at start up"},
        {IDC_OPT_TOP_MOST, "Button", kCheckBox, 0, 17, 46, 145, 9,
         "Start with main window always on top"},
        {IDC_OPT_REMEMBER_POS, "Button", kCheckBox, 0, 17, 59, 145, 9,
         "Remember main window position"},
        {IDC_OPT_TRANSPARENT, "Button", kCheckBox, 0, 17, 72, 145, 9,
         "Use transparent main window"},
        {IDC_OPT_OPACITY, "msctls_trackbar32", TBS_HORZ | TBS_TOP | TBS_NOTICKS | WS_TABSTOP, 0, 24,
         85, 102, 11, ""},
        {IDC_OPT_OPACITY_TEXT, "Static", kLabel, 0, 131, 86, 32, 9, ""},
        {IDC_OPT_DIFF_COLOR, "Button", kSwatch, 0, 17, 100, 20, 10, ""},
        {-1, "Static", kLabel, 0, 42, 101, 115, 9, "Different checksum color"},
        {IDC_OPT_SAME_HASH_COLOR, "Button", kSwatch, 0, 17, 113, 20, 10, ""},
        {-1, "Static", kLabel, 0, 42, 114, 115, 9, "Identical checksum color"},
        {IDC_OPT_SAME_FILE_COLOR, "Button", kSwatch, 0, 17, 126, 20, 10, ""},
        {-1, "Static", kLabel, 0, 42, 127, 115, 9, "Same file and checksum color"},
        {-1, "Static", kLabel, 0, 17, 144, 48, 9, "Multiple files:"},
        {IDC_OPT_MULTIPLE_FILES, "ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 66, 142,
         92, 54, ""},
        {IDC_MENU, "Static", SS_BITMAP | SS_SUNKEN, 0, 8, 167, 27, 12, ""},
    }};

const Dialog kAbout = {false,
                       kFixedDialog,
                       0,
                       "About - Calverin",
                       233,
                       55,
                       {
                           {IDOK, "Button", BS_PUSHBUTTON | WS_TABSTOP, 0, 179, 7, 47, 14, "OK"},
                           {-1, "Static", SS_ICON, 0, 7, 7, 20, 20, "#101"},
                           {-1, "Static", SS_LEFT, 0, 35, 7, 133, 8, "Calverin - version 1.5"},
                           {-1, "Static", SS_LEFT, 0, 35, 19, 133, 8, "MD5 Checksum Utility"},
                           {IDC_LINK, "Button", BS_OWNERDRAW | WS_TABSTOP, 0, 35, 31, 133, 8,
                            "Website - http://orrendale.example/"},
                       }};

// Reads a dialog template (DLGTEMPLATE or DLGTEMPLATEEX) from its bytes.
class TemplateReader {
  public:
    explicit TemplateReader(const void* data) : p_(static_cast<const uint8_t*>(data)) {}

    uint16_t Word() {
        uint16_t value;
        memcpy(&value, p_, 2);
        p_ += 2;
        return value;
    }
    uint32_t Dword() {
        uint32_t value;
        memcpy(&value, p_, 4);
        p_ += 4;
        return value;
    }
    std::string String() {
        std::string text;
        for (uint16_t c = Word(); c != 0; c = Word())
            text += c < 0x80 ? static_cast<char>(c) : '?';
        return text;
    }
    // A name or an ordinal: none, 0xFFFF and a number, or a string.
    std::string NameOrOrdinal() {
        uint16_t first;
        memcpy(&first, p_, 2);
        if (first == 0) {
            p_ += 2;
            return "";
        }
        if (first == 0xFFFF) {
            p_ += 2;
            return "#" + std::to_string(Word());
        }
        return String();
    }
    void AlignDword(const void* base) {
        while ((p_ - static_cast<const uint8_t*>(base)) % 4 != 0)
            ++p_;
    }
    void Skip(size_t bytes) { p_ += bytes; }

  private:
    const uint8_t* p_;
};

std::string ClassOfOrdinal(const std::string& name) {
    static const char* const kPredefined[] = {"Button",  "Edit",      "Static",
                                              "ListBox", "ScrollBar", "ComboBox"};
    if (name.size() > 1 && name[0] == '#') {
        int ordinal = std::stoi(name.substr(1));
        if (ordinal >= 0x80 && ordinal <= 0x85)
            return kPredefined[ordinal - 0x80];
    }
    return name;
}

struct ParsedDialog {
    Dialog dialog;
    std::string menu, windowClass, font;
    int fontSize = 0;
};

bool ReadDialog(int id, ParsedDialog* out) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    if (found == nullptr)
        return false;
    const void* base = LockResource(LoadResource(module, found));
    TemplateReader r(base);
    Dialog& d = out->dialog;
    uint16_t first = r.Word(), second = r.Word();
    d.extended = first == 1 && second == 0xFFFF;
    int count;
    if (d.extended) {
        r.Dword(); // help id
        d.exStyle = r.Dword();
        d.style = r.Dword();
    } else {
        r = TemplateReader(base);
        d.style = r.Dword();
        d.exStyle = r.Dword();
    }
    count = r.Word();
    r.Word();
    r.Word();
    d.cx = static_cast<int16_t>(r.Word());
    d.cy = static_cast<int16_t>(r.Word());
    out->menu = r.NameOrOrdinal();
    out->windowClass = r.NameOrOrdinal();
    d.caption = r.String();
    if (d.style & DS_SETFONT) {
        out->fontSize = r.Word();
        if (d.extended) {
            r.Word(); // weight
            r.Word(); // italic, charset
        }
        out->font = r.String();
    }
    for (int i = 0; i < count; ++i) {
        r.AlignDword(base);
        Control c;
        if (d.extended) {
            r.Dword(); // help id
            c.exStyle = r.Dword();
            c.style = r.Dword();
        } else {
            c.style = r.Dword();
            c.exStyle = r.Dword();
        }
        c.x = static_cast<int16_t>(r.Word());
        c.y = static_cast<int16_t>(r.Word());
        c.cx = static_cast<int16_t>(r.Word());
        c.cy = static_cast<int16_t>(r.Word());
        c.id = d.extended ? static_cast<int32_t>(r.Dword()) : static_cast<int16_t>(r.Word());
        c.className = ClassOfOrdinal(r.NameOrOrdinal());
        c.text = r.NameOrOrdinal();
        r.Skip(r.Word()); // creation data
        d.controls.push_back(c);
    }
    return true;
}

void ExpectTemplate(int id, const Dialog& expected) {
    SCOPED_TRACE("dialog " + std::to_string(id));
    ParsedDialog parsed;
    ASSERT_TRUE(ReadDialog(id, &parsed));
    const Dialog& got = parsed.dialog;
    EXPECT_EQ(got.extended, expected.extended);
    EXPECT_EQ(got.style, expected.style);
    EXPECT_EQ(got.exStyle, expected.exStyle);
    EXPECT_EQ(got.caption, expected.caption);
    EXPECT_EQ(got.cx, expected.cx);
    EXPECT_EQ(got.cy, expected.cy);
    EXPECT_EQ(parsed.menu, "");
    EXPECT_EQ(parsed.windowClass, "");
    EXPECT_EQ(parsed.font, kFont);
    EXPECT_EQ(parsed.fontSize, kFontSize);
    ASSERT_EQ(got.controls.size(), expected.controls.size());
    for (size_t i = 0; i < got.controls.size(); ++i) {
        const Control& g = got.controls[i];
        const Control& e = expected.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (id " + std::to_string(e.id) + ")");
        EXPECT_EQ(g.id, e.id);
        EXPECT_STRCASEEQ(g.className.c_str(), e.className.c_str());
        EXPECT_EQ(g.style, e.style | WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(g.exStyle, e.exStyle);
        EXPECT_EQ(g.x, e.x);
        EXPECT_EQ(g.y, e.y);
        EXPECT_EQ(g.cx, e.cx);
        EXPECT_EQ(g.cy, e.cy);
        EXPECT_EQ(g.text, e.text);
    }
}

TEST(ResourceScript, DialogTemplatesAreAsTabled) {
    ExpectTemplate(IDD_MAIN, kMain);
    ExpectTemplate(IDD_HASH_STRING, kHashString);
    ExpectTemplate(IDD_OPTIONS, kOptions);
    ExpectTemplate(IDD_ABOUT, kAbout);
}

INT_PTR CALLBACK TrivialProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The rectangle of a child in the parent's client coordinates.
RECT ChildRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Creates the dialog from the program's resources as the dialog manager does
// for the program and checks the windows it made.
void ExpectCreated(int id, const Dialog& expected) {
    SCOPED_TRACE("dialog " + std::to_string(id));
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr,
                                     TrivialProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ClassOf(dialog), "#32770");
    EXPECT_EQ(WindowText(dialog), expected.caption);
    DWORD style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
              expected.style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
    EXPECT_FALSE(style & WS_VISIBLE); // start-up shows it
    EXPECT_EQ(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES,
              expected.exStyle & WS_EX_ACCEPTFILES);
    RECT client, size = {0, 0, expected.cx, expected.cy};
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    // Template order is z-order (and tab order).
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const Control& e : expected.controls) {
        SCOPED_TRACE("control id " + std::to_string(e.id) + " " + e.text);
        ASSERT_NE(child, nullptr);
        // A DIALOG template keeps 16-bit ids: -1 reads back as 0xFFFF.
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), static_cast<WORD>(e.id));
        EXPECT_STRCASEEQ(ClassOf(child).c_str(), e.className.c_str());
        if (e.text[0] != '#') {
            EXPECT_EQ(WindowText(child), e.text);
        }
        // Controls may add bits of their own; the tabled ones must be there,
        // but for what a control hands to a part of its own: an edit draws its
        // border itself, a combo box gives the scroll bar to its list.
        DWORD wanted = (e.style | WS_CHILD | WS_VISIBLE) & ~WS_BORDER;
        if (e.className == "ComboBox")
            wanted &= ~WS_VSCROLL;
        EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & wanted, wanted);
        EXPECT_EQ(GetWindowLongA(child, GWL_EXSTYLE) & e.exStyle, e.exStyle);
        // The dialog manager converts place and size separately.
        RECT want = {e.x, e.y, e.cx, e.cy};
        MapDialogRect(dialog, &want);
        RECT got = ChildRect(child);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        // An icon sizes itself to the icon; a drop-down list's height is its list's.
        if ((e.style & SS_TYPEMASK) != SS_ICON || e.className != "Static") {
            EXPECT_EQ(got.right - got.left, want.right);
            if (e.className != "ComboBox") {
                EXPECT_EQ(got.bottom - got.top, want.bottom);
            }
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than tabled";
    DestroyWindow(dialog);
}

TEST(ResourceScript, DialogsCreateAsTabled) {
    ExpectCreated(IDD_MAIN, kMain);
    ExpectCreated(IDD_HASH_STRING, kHashString);
    ExpectCreated(IDD_OPTIONS, kOptions);
    ExpectCreated(IDD_ABOUT, kAbout);
}

struct Item {
    const char* text; // nullptr: separator
    UINT id;          // 0 with text: submenu
};

void ExpectMenu(HMENU menu, const std::vector<Item>& items) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        MENUITEMINFOA info = {};
        char text[64] = "";
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info));
        if (items[i].text == nullptr) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR);
            continue;
        }
        EXPECT_STREQ(text, items[i].text);
        EXPECT_EQ(info.hSubMenu != nullptr, items[i].id == 0);
        if (items[i].id != 0) {
            EXPECT_EQ(info.wID, items[i].id);
        }
    }
}

TEST(ResourceScript, MenuHoldsMainAndEditPopups) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    HMENU mainMenu = GetSubMenu(menu, 0);
    HMENU editMenu = GetSubMenu(menu, 1);
    ASSERT_NE(mainMenu, nullptr);
    ASSERT_NE(editMenu, nullptr);
    ExpectMenu(mainMenu, {{"Hash &string", IDM_HASH_STRING},
                          {"S&earch hash", IDM_SEARCH_HASH},
                          {"&Verify checksum list...", IDM_VERIFY_LIST},
                          {"C&reate checksum list...", IDM_CREATE_LIST},
                          {"MD5 &Benchmark", IDM_BENCHMARK},
                          {"Stop all files", IDM_STOP_BATCH},
                          {nullptr, 0},
                          {"Clear hash...", 0},
                          {nullptr, 0},
                          {"&Options...", IDM_OPTIONS},
                          {"&About...", IDM_ABOUT}});
    ExpectMenu(
        GetSubMenu(mainMenu, 7),
        {{"Hash 1", IDM_CLEAR_HASH1}, {"Hash 2", IDM_CLEAR_HASH2}, {"Both", IDM_CLEAR_BOTH}});
    ExpectMenu(editMenu, {{"&Cut\tCtrl+X", IDM_CUT},
                          {"C&opy\tCtrl+C", IDM_COPY},
                          {"&Paste\tCtrl+V", IDM_PASTE},
                          {nullptr, 0},
                          {"Cl&ear Hash", IDM_CLEAR_FIELD}});
    DestroyMenu(menu);
}

TEST(ResourceScript, AcceleratorsAreAsTabled) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[32];
    int count = CopyAcceleratorTableA(table, entries, 32);
    struct Key {
        BYTE modifiers;
        WORD key;
        WORD command;
    };
    const Key expected[] = {
        {FCONTROL, 'O', IDM_OPEN_FILE},
        {FCONTROL, 'T', IDM_HASH_STRING},
        {FCONTROL, 'S', IDM_SEARCH_HASH},
        {FCONTROL, 'B', IDM_BENCHMARK},
        {FCONTROL, 'L', IDM_VERIFY_LIST},
        {FCONTROL, 'K', IDM_CREATE_LIST},
        {FSHIFT, 'T', IDM_ALWAYS_ON_TOP},
        {FSHIFT, 'O', IDM_TRANSPARENCY},
        {0, VK_DOWN, IDC_EXPAND},
        {0, VK_UP, IDC_COLLAPSE},
        {FCONTROL, VK_DELETE, IDM_CLEAR_BOTH},
        {0, VK_RETURN, IDC_OPEN},
    };
    ASSERT_EQ(count, static_cast<int>(sizeof expected / sizeof expected[0]));
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_TRUE(entries[i].fVirt & FVIRTKEY);
        EXPECT_EQ(entries[i].fVirt & (FSHIFT | FCONTROL | FALT), expected[i].modifiers);
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].command);
    }
    DestroyAcceleratorTable(table);
}

const BITMAPINFOHEADER* BitmapHeader(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    if (found == nullptr)
        return nullptr;
    return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
}

// Bits of a bottom-up DIB resource at (x, y) counted from the top.
int PixelIndex(const BITMAPINFOHEADER* header, int x, int y) {
    const uint8_t* bits = reinterpret_cast<const uint8_t*>(header) + header->biSize +
                          (1u << header->biBitCount) * sizeof(RGBQUAD);
    int stride = ((header->biWidth * header->biBitCount + 31) / 32) * 4;
    const uint8_t* row = bits + (header->biHeight - 1 - y) * stride;
    int bitPos = x * header->biBitCount;
    int byte = row[bitPos / 8];
    return (byte >> (8 - header->biBitCount - bitPos % 8)) & ((1 << header->biBitCount) - 1);
}

COLORREF PaletteColour(const BITMAPINFOHEADER* header, int index) {
    const RGBQUAD* palette =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(header) + header->biSize);
    return RGB(palette[index].rgbRed, palette[index].rgbGreen, palette[index].rgbBlue);
}

int InkInRow(const BITMAPINFOHEADER* header, int y, COLORREF background) {
    int ink = 0;
    for (int x = 0; x < header->biWidth; ++x)
        ink += PaletteColour(header, PixelIndex(header, x, y)) != background;
    return ink;
}

TEST(ResourceScript, ArrowsAreMonochromeTriangles) {
    const BITMAPINFOHEADER* down = BitmapHeader(IDB_EXPAND);
    const BITMAPINFOHEADER* up = BitmapHeader(IDB_COLLAPSE);
    ASSERT_NE(down, nullptr);
    ASSERT_NE(up, nullptr);
    for (const BITMAPINFOHEADER* h : {down, up}) {
        EXPECT_EQ(h->biWidth, 15);
        EXPECT_EQ(h->biHeight, 8);
        EXPECT_EQ(h->biBitCount, 1);
    }
    // The top-left pixel is background: LR_LOADTRANSPARENT turns its colour
    // into the button face, so the triangle keeps its own.
    COLORREF background = PaletteColour(down, PixelIndex(down, 0, 0));
    EXPECT_EQ(PaletteColour(up, PixelIndex(up, 0, 0)), background);
    // Down narrows towards the bottom, up towards the top.
    int widest = InkInRow(down, 1, background);
    EXPECT_GT(widest, 10);
    for (int y = 2; y < 8; ++y) {
        EXPECT_LT(InkInRow(down, y, background), InkInRow(down, y - 1, background)) << y;
        EXPECT_EQ(InkInRow(up, 7 - y, background), InkInRow(down, y, background)) << y;
    }

    HANDLE loaded = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_EXPAND),
                               IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT);
    ASSERT_NE(loaded, nullptr);
    BITMAP info;
    ASSERT_TRUE(GetObjectA(loaded, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 15);
    EXPECT_EQ(info.bmHeight, 8);
    DeleteObject(loaded);
}

TEST(ResourceScript, MenuPictureIsWhiteOnDarkBlue) {
    const BITMAPINFOHEADER* h = BitmapHeader(IDB_MENU);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->biWidth, 39);
    EXPECT_EQ(h->biHeight, 17);
    EXPECT_EQ(h->biBitCount, 4);
    int white = 0, blue = 0, other = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 39; ++x) {
            COLORREF c = PaletteColour(h, PixelIndex(h, x, y));
            white += c == RGB(255, 255, 255);
            blue += c == RGB(0, 0, 128);
            other += c != RGB(255, 255, 255) && c != RGB(0, 0, 128);
        }
    EXPECT_EQ(other, 0);
    EXPECT_GT(white, 100); // three bold letters
    EXPECT_GT(blue, white);
    EXPECT_EQ(PaletteColour(h, PixelIndex(h, 0, 0)), RGB(0, 0, 128));
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

// Small and large, each at 100 %, 150 % and 200 %.
TEST(ResourceScript, IconHasSmallAndLargeImagesOf256Colours) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_MAIN), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto header = static_cast<const GroupIconHeader*>(LockResource(LoadResource(module, group)));
    ASSERT_EQ(header->count, 5);
    std::vector<int> sizes;
    for (int i = 0; i < header->count; ++i) {
        const GroupIconEntry& e = header->entries[i];
        sizes.push_back(e.width);
        EXPECT_EQ(e.width, e.height);
        EXPECT_EQ(e.bitCount, 8);
        HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(e.id), RT_ICON);
        ASSERT_NE(image, nullptr);
        auto bits = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
        EXPECT_EQ(bits->biBitCount, 8);
        EXPECT_EQ(bits->biWidth, e.width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64}));
    for (int size : sizes) {
        HICON icon = static_cast<HICON>(
            LoadImageA(module, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << size;
        DestroyIcon(icon);
    }
}

// The manifest names the build's own processor architecture; with another the
// system quietly binds the old common controls (or refuses a 64-bit program).
TEST(ResourceScript, ManifestBindsCommonControlsSix) {
    // The module this program's import was bound to; an older copy may be
    // loaded beside it for other system libraries.
    HMODULE controls = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                       GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCSTR>(&InitCommonControls), &controls));
    char path[MAX_PATH] = "";
    ASSERT_NE(GetModuleFileNameA(controls, path, MAX_PATH), 0u);
    // Version 6 is only ever loaded from its side-by-side assembly's folder
    // (the system folder holds 5.x); its version numbers are not reliable
    // across systems, its folder name is.
    std::string folder = CharLowerA(path);
    EXPECT_NE(folder.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."),
              std::string::npos)
        << path;
}

// Per-monitor (version 2) where the system knows it, system-wide before: the
// system then leaves the drawing to the program and never stretches it.
TEST(ResourceScript, ManifestDeclaresDpiAwareness) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, found))),
                           SizeofResource(module, found));
    size_t application = text.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">");
    size_t settings = text.find("<windowsSettings>", application);
    size_t settingsEnd = text.find("</windowsSettings>", settings);
    ASSERT_NE(application, std::string::npos);
    ASSERT_NE(settingsEnd, std::string::npos);
    for (const char* element :
         {"<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
          "true</dpiAware>",
          "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
          "PerMonitorV2, System</dpiAwareness>"}) {
        size_t at = text.find(element, settings);
        EXPECT_LT(at, settingsEnd) << element;
    }
}

} // namespace
