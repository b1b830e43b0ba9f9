#include "ui/OptionsDialog.h"

#include <commctrl.h>
#include <colordlg.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "res/resource.h"
#include "tests/support/RegistrySnapshot.h"
#include "tests/ui/DialogTestSupport.h"

namespace {

const std::vector<std::string> kOptionKeys = {
    "StartInFullMode", "GetFileOnStart", "StartInTopMost", "RememberPosition", "Transparent",
    "WindowOpacity",   "SameFileColor",  "SameHashColor",  "DiffHashColor",    "MultipleFiles",
};

class OptionsDialogTest : public DialogHostTest {
  protected:
    // Opens the dialog with the main window's command and drives it.
    void Open(const std::function<void(HWND)>& drive) {
        OpenByCommand(IDM_OPTIONS, "Options", drive);
    }
    std::string ReadIni() const {
        std::ifstream file(IniFile(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// Moves the trackbar as its keys do, so that it tells the dialog.
void TrackbarKey(HWND dialog, UINT key) {
    SendMessageA(GetDlgItem(dialog, IDC_OPT_OPACITY), WM_KEYDOWN, key, 0);
}

bool IsLayered(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

// The alpha of a layered window, or -1 when it has none.
int LayeredAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!IsLayered(window) || !GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) ||
        !(flags & LWA_ALPHA))
        return -1;
    return alpha;
}

TEST_F(OptionsDialogTest, EscapeWritesNothingEvenAfterChanges) {
    SettingsRecord before = Settings;
    Open([](HWND dialog) {
        Click(dialog, IDC_OPT_FULL_MODE);
        Click(dialog, IDC_OPT_TRANSPARENT);
        TrackbarKey(dialog, VK_HOME);
        SendDlgItemMessageA(dialog, IDC_OPT_MULTIPLE_FILES, CB_SETCURSEL, 2, 0);
        PostKey(dialog, VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    });
    EXPECT_EQ(GetFileAttributesA(IniFile().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Settings.StartInFullMode, before.StartInFullMode);
    EXPECT_EQ(Settings.Transparent, before.Transparent);
    EXPECT_EQ(Settings.WindowOpacity, before.WindowOpacity);
    EXPECT_EQ(Settings.MultipleFiles, before.MultipleFiles);
    EXPECT_FALSE(IsLayered(main_));
}

TEST_F(OptionsDialogTest, OkOnDefaultsWritesExactlyTheTenValues) {
    Open([](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), "Options - Calverin");
        Click(dialog, IDOK);
    });
    std::string expected =
        "StartInFullMode=0|GetFileOnStart=1|StartInTopMost=1|RememberPosition=0|Transparent=0|"
        "WindowOpacity=255|SameFileColor=#e1f0ff|SameHashColor=#e1ffe1|DiffHashColor=#ffdcdc|"
        "MultipleFiles=1|";
    char section[2048] = {};
    DWORD length = GetPrivateProfileSectionA("OPTIONS", section, sizeof section, IniFile().c_str());
    std::string entries;
    for (const char* entry = section; *entry && entry < section + length;
         entry += lstrlenA(entry) + 1)
        entries += std::string(entry) + "|";
    EXPECT_EQ(entries, expected);
    char names[256] = {};
    GetPrivateProfileSectionNamesA(names, sizeof names, IniFile().c_str());
    EXPECT_STREQ(names, "OPTIONS");
    EXPECT_STREQ(names + lstrlenA(names) + 1, "") << "a second section";
    // Flushed to the disk, not only cached.
    EXPECT_NE(ReadIni().find("MultipleFiles=1"), std::string::npos);
}

TEST_F(OptionsDialogTest, TransparentCheckBoxEnablesTheTrackbarAndItsText) {
    Open([](HWND dialog) {
        ASSERT_TRUE(Enabled(dialog, IDC_OPT_TRANSPARENT)) << "transparency not available";
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_OPT_TRANSPARENT, BM_GETCHECK, 0, 0),
                  BST_UNCHECKED);
        EXPECT_FALSE(Enabled(dialog, IDC_OPT_OPACITY));
        EXPECT_FALSE(Enabled(dialog, IDC_OPT_OPACITY_TEXT));
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_OPT_OPACITY_TEXT)), "100 %");
        Click(dialog, IDC_OPT_TRANSPARENT);
        EXPECT_TRUE(Enabled(dialog, IDC_OPT_OPACITY));
        EXPECT_TRUE(Enabled(dialog, IDC_OPT_OPACITY_TEXT));
        Click(dialog, IDC_OPT_TRANSPARENT);
        EXPECT_FALSE(Enabled(dialog, IDC_OPT_OPACITY));
    });
}

TEST_F(OptionsDialogTest, TrackbarAtItsLeftEndMakesTheWindowFullyTransparent) {
    Open([](HWND dialog) {
        Click(dialog, IDC_OPT_TRANSPARENT);
        TrackbarKey(dialog, VK_HOME);
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_OPT_OPACITY_TEXT)), "0 %");
        // The window follows only on OK.
        EXPECT_FALSE(IsLayered(GetWindow(dialog, GW_OWNER)));
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(Settings.Transparent);
    EXPECT_EQ(Settings.WindowOpacity, 0);
    EXPECT_EQ(LayeredAlpha(main_), 0);
    EXPECT_EQ(GetPrivateProfileIntA("OPTIONS", "WindowOpacity", -1, IniFile().c_str()), 0);
}

TEST_F(OptionsDialogTest, OpacityTextDropsTheFraction) {
    Settings.WindowOpacity = 128;
    Open([](HWND dialog) {
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_OPT_OPACITY_TEXT)), "50 %");
        Click(dialog, IDC_OPT_TRANSPARENT);
        TrackbarKey(dialog, VK_HOME);
        TrackbarKey(dialog, VK_RIGHT);
        TrackbarKey(dialog, VK_RIGHT);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_OPT_OPACITY, TBM_GETPOS, 0, 0), 2);
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_OPT_OPACITY_TEXT)), "0 %");
        TrackbarKey(dialog, VK_END);
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_OPT_OPACITY_TEXT)), "100 %");
    });
}

TEST_F(OptionsDialogTest, TransparencyFlagOfTheMainWindowFollowsTheSetting) {
    Settings.WindowOpacity = 128;
    Open([](HWND dialog) {
        Click(dialog, IDC_OPT_TRANSPARENT);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(LayeredAlpha(main_), 128);
    // The flag is now on, so the toggle turns the window opaque.
    SendMessageA(main_, WM_COMMAND, IDM_TRANSPARENCY, 0);
    EXPECT_FALSE(IsLayered(main_));
    SendMessageA(main_, WM_COMMAND, IDM_TRANSPARENCY, 0);
    EXPECT_EQ(LayeredAlpha(main_), 128);
}

TEST_F(OptionsDialogTest, UncheckingTransparentMakesTheWindowOpaqueAtOnce) {
    Settings.Transparent = true;
    Settings.WindowOpacity = 100;
    RecreateMainWindow();
    ASSERT_EQ(LayeredAlpha(main_), 100);
    Open([](HWND dialog) {
        EXPECT_TRUE(Enabled(dialog, IDC_OPT_OPACITY));
        Click(dialog, IDC_OPT_TRANSPARENT);
        Click(dialog, IDOK);
    });
    EXPECT_FALSE(IsLayered(main_));
    EXPECT_FALSE(Settings.Transparent);
    EXPECT_EQ(Settings.WindowOpacity, 100);
}

TEST_F(OptionsDialogTest, CancelledColourDialogKeepsTheSwatchAndConfirmedOneChangesIt) {
    Settings.DiffHashColor = RGB(1, 2, 3);
    COLORREF customBefore[16];
    memcpy(customBefore, CustomColours, sizeof customBefore);
    Open([](HWND dialog) {
        HWND swatch = GetDlgItem(dialog, IDC_OPT_DIFF_COLOR);
        EXPECT_EQ((COLORREF)GetWindowLongPtrA(swatch, GWLP_USERDATA), RGB(1, 2, 3));
        // The colour dialog is modal: click, then answer it from here.
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPT_DIFF_COLOR, BN_CLICKED),
                     (LPARAM)swatch);
        HWND picker = WaitForOwnedDialog(dialog);
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(WindowText(GetDlgItem(picker, COLOR_RED)), "1");
        PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(picker); }));
        EXPECT_EQ((COLORREF)GetWindowLongPtrA(swatch, GWLP_USERDATA), RGB(1, 2, 3));

        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPT_DIFF_COLOR, BN_CLICKED),
                     (LPARAM)swatch);
        picker = WaitForOwnedDialog(dialog);
        ASSERT_NE(picker, nullptr);
        SetWindowTextA(GetDlgItem(picker, COLOR_RED), "10");
        SetWindowTextA(GetDlgItem(picker, COLOR_GREEN), "20");
        SetWindowTextA(GetDlgItem(picker, COLOR_BLUE), "30");
        PostMessageA(picker, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(picker); }));
        EXPECT_EQ((COLORREF)GetWindowLongPtrA(swatch, GWLP_USERDATA), RGB(10, 20, 30));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(Settings.DiffHashColor, RGB(10, 20, 30));
    char text[16] = {};
    GetPrivateProfileStringA("OPTIONS", "DiffHashColor", "", text, sizeof text, IniFile().c_str());
    EXPECT_STREQ(text, "#0a141e");
    memcpy(CustomColours, customBefore, sizeof customBefore);
}

TEST_F(OptionsDialogTest, StoredMultipleFilesOutOfRangeShowsAndStoresTheRuleItBehavesAs) {
    // Above 2 as "Don't stop between files", below 0 as "Stop after matching file".
    for (int stored : {5, -1}) {
        const int shown = stored > 2 ? 2 : 1;
        Settings.MultipleFiles = stored;
        Open([shown](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_OPT_MULTIPLE_FILES);
            EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 3);
            char text[64] = {};
            SendMessageA(list, CB_GETLBTEXT, 2, (LPARAM)text);
            EXPECT_STREQ(text, "Don't stop between files");
            EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), shown);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(Settings.MultipleFiles, shown) << stored;
        EXPECT_EQ(GetPrivateProfileIntA("OPTIONS", "MultipleFiles", 0, IniFile().c_str()), shown)
            << stored;
    }
}

TEST_F(OptionsDialogTest, RegistryStoreWritesToTheRegistryInstead) {
    RegistrySnapshot guard(HKEY_CURRENT_USER, kRegistryKey);
    Settings.UseRegistry = true;
    Open([](HWND dialog) {
        Click(dialog, IDC_OPT_FULL_MODE);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(GetFileAttributesA(IniFile().c_str()), INVALID_FILE_ATTRIBUTES);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExA(key, "StartInFullMode", nullptr, &type, (BYTE*)&value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(value, 1u);
    char text[16] = {};
    size = sizeof text;
    EXPECT_EQ(RegQueryValueExA(key, "SameHashColor", nullptr, &type, (BYTE*)text, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_STREQ(text, "#e1ffe1");
    for (const std::string& name : kOptionKeys)
        EXPECT_EQ(RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS)
            << name;
    RegCloseKey(key);
}

} // namespace
