#include "ui/ResourceModule.h"

#include <vector>

#include "res/resource.h"

ResourceModuleState ResourceModule = {nullptr, nullptr};

namespace {

// Resources that only the program itself may supply, whatever the custom
// module holds: the About dialog names the program and its maker; the list
// window's controls are driven by their ids and texts.
bool IsOwnOnly(LPCSTR name, LPCSTR type) {
    return type == RT_DIALOG &&
           (name == MAKEINTRESOURCEA(IDD_ABOUT) || name == MAKEINTRESOURCEA(IDD_LIST));
}

} // namespace

void OpenResourceModule(const char* moduleName) {
    CloseResourceModule();
    if (moduleName == nullptr || moduleName[0] == '\0')
        return;
    // Only resources are taken from the module, so it is mapped as data: none
    // of its code runs (a settings value cannot start foreign code), and a
    // module of the other pointer size loads as well. Systems before Vista
    // know only the data-file flag.
    ResourceModule.custom = LoadLibraryExA(
        moduleName, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
    if (ResourceModule.custom == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
        ResourceModule.custom = LoadLibraryExA(moduleName, nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

void CloseResourceModule() {
    if (ResourceModule.custom != nullptr) {
        FreeLibrary(ResourceModule.custom);
        ResourceModule.custom = nullptr;
    }
}

// Decided per resource and per load, never cached: a custom module may hold
// only the resources it changes.
HINSTANCE PickResourceModule(LPCSTR name, LPCSTR type) {
    if (ResourceModule.custom == nullptr || IsOwnOnly(name, type))
        return ResourceModule.own;
    if (FindResourceA(ResourceModule.custom, name, type) != nullptr)
        return ResourceModule.custom;
    return ResourceModule.own;
}

HBITMAP LoadModuleBitmap(LPCSTR name) {
    return LoadBitmapA(PickResourceModule(name, RT_BITMAP), name);
}

HANDLE LoadModuleImage(LPCSTR name, UINT imageType, int width, int height, UINT flags) {
    // Only bitmaps are loaded this way, so the lookup is always RT_BITMAP.
    return LoadImageA(PickResourceModule(name, RT_BITMAP), name, imageType, width, height, flags);
}

INT_PTR ShowModuleDialog(LPCSTR templateName, HWND owner, DLGPROC procedure) {
    return DialogBoxParamA(PickResourceModule(templateName, RT_DIALOG), templateName, owner,
                           procedure, 0);
}

HWND CreateModuleDialog(LPCSTR templateName, HWND owner, DLGPROC procedure) {
    return CreateDialogParamA(PickResourceModule(templateName, RT_DIALOG), templateName, owner,
                              procedure, 0);
}

HACCEL LoadModuleAccelerators(LPCSTR name) {
    return LoadAcceleratorsA(PickResourceModule(name, RT_ACCELERATOR), name);
}

HICON LoadModuleIcon(LPCSTR name, int size) {
    return (HICON)LoadImageA(PickResourceModule(name, RT_GROUP_ICON), name, IMAGE_ICON, size, size,
                             0);
}

HMENU LoadModuleMenu(LPCSTR name) {
    return LoadMenuA(PickResourceModule(name, RT_MENU), name);
}

namespace {

// Commands added after resource modules were first written, each placed
// after the item it follows in the program's own menu.
struct LateMenuItem {
    UINT id;
    const char* text;
    UINT after;
};
const LateMenuItem kLateMenuItems[] = {
    {IDM_VERIFY_LIST, "&Verify checksum list...", IDM_SEARCH_HASH},
    {IDM_CREATE_LIST, "C&reate checksum list...", IDM_VERIFY_LIST},
    {IDM_STOP_BATCH, "Stop all files", IDM_BENCHMARK},
};
const ACCEL kLateAccelerators[] = {{FVIRTKEY | FCONTROL, 'L', IDM_VERIFY_LIST},
                                   {FVIRTKEY | FCONTROL, 'K', IDM_CREATE_LIST}};

int PositionOf(HMENU menu, UINT id) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) == id)
            return i;
    }
    return -1;
}

} // namespace

void AddLateMenuItems(HMENU mainMenu) {
    if (!mainMenu)
        return;
    for (const LateMenuItem& item : kLateMenuItems) {
        if (GetMenuState(mainMenu, item.id, MF_BYCOMMAND) != static_cast<UINT>(-1))
            continue;
        int after = PositionOf(mainMenu, item.after);
        if (after >= 0)
            InsertMenuA(mainMenu, after + 1, MF_BYPOSITION | MF_STRING, item.id, item.text);
        else
            AppendMenuA(mainMenu, MF_STRING, item.id, item.text);
    }
}

HACCEL AddLateAccelerators(HACCEL table) {
    int count = table ? CopyAcceleratorTableA(table, nullptr, 0) : 0;
    std::vector<ACCEL> entries(count > 0 ? count : 0);
    if (count > 0)
        CopyAcceleratorTableA(table, entries.data(), count);
    bool added = false;
    for (const ACCEL& late : kLateAccelerators) {
        bool present = false;
        for (const ACCEL& entry : entries)
            present = present || entry.cmd == late.cmd;
        if (!present) {
            entries.push_back(late);
            added = true;
        }
    }
    if (!added)
        return table;
    HACCEL extended = CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
    if (!extended)
        return table;
    if (table)
        DestroyAcceleratorTable(table);
    return extended;
}
