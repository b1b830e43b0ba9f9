// File size and time, their texts, long paths and error reports.
#pragma once

#include <windows.h>

bool QueryFileSize(const char* path, DWORD* low, DWORD* high);
bool QueryFileTime(const char* path, FILETIME* time);
// buffer: at least 64 characters. Returns buffer.
char* FormatFileSize(char* buffer, DWORD low, DWORD high);
// buffer: at least 32 characters. Returns buffer.
char* FormatFileTime(char* buffer, const FILETIME* time);
// Message box "Error": format's first %s is argument, its second the system's
// text for the last error (read first thing).
void ShowErrorReport(HWND owner, const char* format, const char* argument);
void ToLongPath(const char* path, char* buffer, int size);
int ExpandLongPath(const char* source, char* destination, int size);
