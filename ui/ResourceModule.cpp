#include "ui/ResourceModule.h"

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
