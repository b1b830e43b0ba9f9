// The hash fields' tooltips: long path, modification time and size of the file.
#pragma once

#include <windows.h>

struct HashFieldInfo;

void CreateFileTooltip(HWND mainWindow);
void SetFieldTooltip(HWND field, const char* text);
void RefreshFieldTooltip(HWND field, const HashFieldInfo* info);
