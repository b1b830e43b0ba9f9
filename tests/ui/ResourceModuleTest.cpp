#include "ui/ResourceModule.h"

#include "res/resource.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Resource {
    int id;
    LPCSTR type;
};

// Everything the program loads through the resource module.
const Resource kLoaded[] = {
    {IDD_MAIN, RT_DIALOG},    {IDD_HASH_STRING, RT_DIALOG},       {IDD_OPTIONS, RT_DIALOG},
    {IDR_MAIN_MENU, RT_MENU}, {IDR_ACCELERATORS, RT_ACCELERATOR}, {IDI_MAIN, RT_GROUP_ICON},
    {IDB_EXPAND, RT_BITMAP},  {IDB_COLLAPSE, RT_BITMAP},          {IDB_MENU, RT_BITMAP},
};

std::string Caption;

// Notes the dialog's caption and closes it at once.
INT_PTR CALLBACK CaptionProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG)
        return FALSE;
    char text[256] = "";
    GetWindowTextA(dialog, text, sizeof text);
    Caption = text;
    EndDialog(dialog, IDOK);
    return TRUE;
}

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

std::string ShownCaption(int id) {
    Caption.clear();
    INT_PTR result = ShowModuleDialog(MAKEINTRESOURCEA(id), nullptr, CaptionProc);
    EXPECT_EQ(result, IDOK) << "dialog " << id;
    return Caption;
}

class ResourceModuleTest : public testing::Test {
  protected:
    void SetUp() override {
        ResourceModule.own = GetModuleHandleA(nullptr);
        ResourceModule.custom = nullptr;
    }
    void TearDown() override { CloseResourceModule(); }

    static std::string ModulePath(const char* name) { return ExeFolder() + "\\" + name; }
};

TEST_F(ResourceModuleTest, WithoutCustomModuleEverythingComesFromTheProgram) {
    for (const Resource& r : kLoaded)
        EXPECT_EQ(PickResourceModule(MAKEINTRESOURCEA(r.id), r.type), ResourceModule.own) << r.id;

    EXPECT_NE(LoadModuleMenu(MAKEINTRESOURCEA(IDR_MAIN_MENU)), nullptr);
    EXPECT_NE(LoadModuleAccelerators(MAKEINTRESOURCEA(IDR_ACCELERATORS)), nullptr);
    EXPECT_NE(LoadModuleIcon(MAKEINTRESOURCEA(IDI_MAIN), 32), nullptr);
    HBITMAP menu = LoadModuleBitmap(MAKEINTRESOURCEA(IDB_MENU));
    EXPECT_NE(menu, nullptr);
    DeleteObject(menu);
    HANDLE arrow = LoadModuleImage(MAKEINTRESOURCEA(IDB_EXPAND), IMAGE_BITMAP, 0, 0,
                                   LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT);
    EXPECT_NE(arrow, nullptr);
    DeleteObject(arrow);
    EXPECT_EQ(ShownCaption(IDD_OPTIONS), "Options - Calverin");

    HWND main = CreateModuleDialog(MAKEINTRESOURCEA(IDD_MAIN), nullptr, QuietProc);
    ASSERT_NE(main, nullptr);
    DestroyWindow(main);
    // A name that neither module has gives the loader's own failure.
    EXPECT_EQ(LoadModuleMenu(MAKEINTRESOURCEA(999)), nullptr);
}

TEST_F(ResourceModuleTest, CustomModuleSuppliesOnlyWhatItHolds) {
    OpenResourceModule(ModulePath("custom_options.dll").c_str());
    ASSERT_NE(ResourceModule.custom, nullptr);

    EXPECT_EQ(PickResourceModule(MAKEINTRESOURCEA(IDD_OPTIONS), RT_DIALOG), ResourceModule.custom);
    EXPECT_EQ(ShownCaption(IDD_OPTIONS), "Options - Custom");
    // Same name, other type: the lookup is by name and type.
    EXPECT_EQ(PickResourceModule(MAKEINTRESOURCEA(IDD_OPTIONS), RT_MENU), ResourceModule.own);

    for (const Resource& r : kLoaded) {
        if (r.id != IDD_OPTIONS) {
            EXPECT_EQ(PickResourceModule(MAKEINTRESOURCEA(r.id), r.type), ResourceModule.own)
                << r.id;
        }
    }
    EXPECT_EQ(ShownCaption(IDD_HASH_STRING), "Hash String - Calverin");
    HWND main = CreateModuleDialog(MAKEINTRESOURCEA(IDD_MAIN), nullptr, QuietProc);
    ASSERT_NE(main, nullptr);
    char caption[64] = "";
    GetWindowTextA(main, caption, sizeof caption);
    EXPECT_STREQ(caption, "Calverin");
    DestroyWindow(main);
    EXPECT_NE(LoadModuleMenu(MAKEINTRESOURCEA(IDR_MAIN_MENU)), nullptr);
    EXPECT_NE(LoadModuleAccelerators(MAKEINTRESOURCEA(IDR_ACCELERATORS)), nullptr);
    EXPECT_NE(LoadModuleIcon(MAKEINTRESOURCEA(IDI_MAIN), 32), nullptr);
    HBITMAP menu = LoadModuleBitmap(MAKEINTRESOURCEA(IDB_MENU));
    EXPECT_NE(menu, nullptr);
    DeleteObject(menu);

    CloseResourceModule();
    EXPECT_EQ(ResourceModule.custom, nullptr);
    EXPECT_EQ(ShownCaption(IDD_OPTIONS), "Options - Calverin");
}

TEST_F(ResourceModuleTest, AboutDialogAlwaysComesFromTheProgram) {
    OpenResourceModule(ModulePath("custom_about.dll").c_str());
    ASSERT_NE(ResourceModule.custom, nullptr);
    // The module does hold a dialog 205 ...
    ASSERT_NE(FindResourceA(ResourceModule.custom, MAKEINTRESOURCEA(IDD_ABOUT), RT_DIALOG),
              nullptr);
    // ... but it is never picked, whichever way the dialog is opened.
    EXPECT_EQ(PickResourceModule(MAKEINTRESOURCEA(IDD_ABOUT), RT_DIALOG), ResourceModule.own);
    EXPECT_EQ(ShownCaption(IDD_ABOUT), "About - Calverin");
    Caption.clear();
    DialogBoxParamA(ResourceModule.own, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, CaptionProc, 0);
    EXPECT_EQ(Caption, "About - Calverin");
}

TEST_F(ResourceModuleTest, MissingModuleLeavesCustomAtNone) {
    ScratchFolder folder;
    OpenResourceModule((folder.Path() + "\\no-such-module.dll").c_str());
    EXPECT_EQ(ResourceModule.custom, nullptr);
    OpenResourceModule("");
    EXPECT_EQ(ResourceModule.custom, nullptr);
    for (const Resource& r : kLoaded)
        EXPECT_EQ(PickResourceModule(MAKEINTRESOURCEA(r.id), r.type), ResourceModule.own) << r.id;
    EXPECT_EQ(ShownCaption(IDD_OPTIONS), "Options - Calverin");
}

} // namespace
