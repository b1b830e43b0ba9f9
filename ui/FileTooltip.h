// The hash fields' tooltips: long path, modification time and size of the file.
#pragma once

#include <windows.h>

struct HashFieldInfo;

// The main window's one tooltip control; null before CreateFileTooltip or when
// it could not be created (the window then works without tips).
extern HWND FileTooltip;

void CreateFileTooltip(HWND mainWindow);
// Sizes the tips for the main window's DPI: font, margins, widest line.
void FitFileTooltipToDpi(int dpi);
// Called when the main window goes: the tooltip has no owner to go with.
void DestroyFileTooltip();
void SetFieldTooltip(HWND field, const char* text);
void RefreshFieldTooltip(HWND field, const HashFieldInfo* info);
