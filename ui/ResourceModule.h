// Every dialog (but About), menu, accelerator table, icon and bitmap is loaded
// from the custom module named by CustomUI when it has it, else from the program.
#pragma once

#include <windows.h>

struct ResourceModuleState {
    HINSTANCE own;
    HMODULE custom;
};
extern ResourceModuleState ResourceModule;

void OpenResourceModule(const char* moduleName);
void CloseResourceModule();
HINSTANCE PickResourceModule(LPCSTR name, LPCSTR type);

HBITMAP LoadModuleBitmap(LPCSTR name);
HANDLE LoadModuleImage(LPCSTR name, UINT imageType, int width, int height, UINT flags);
INT_PTR ShowModuleDialog(LPCSTR templateName, HWND owner, DLGPROC procedure);
HWND CreateModuleDialog(LPCSTR templateName, HWND owner, DLGPROC procedure);
HACCEL LoadModuleAccelerators(LPCSTR name);
// The icon's image nearest to size pixels square, scaled to it; DestroyIcon
// releases it.
HICON LoadModuleIcon(LPCSTR name, int size);
HMENU LoadModuleMenu(LPCSTR name);

// Commands newer than many resource modules: where a module's menu or
// accelerator table lacks them, they are added, so they stay reachable.
// The table is replaced (the old one destroyed) only when one was missing.
void AddLateMenuItems(HMENU mainMenu);
HACCEL AddLateAccelerators(HACCEL table);
