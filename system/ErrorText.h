// The text a report shows for an error code: the system's own, or the
// program's for the few codes it sets itself.
#pragma once

#include <windows.h>

#include <string>

// The program's own codes carry the customer bit, which no system code has.
constexpr DWORD kOwnErrorBit = 0x20000000;
// The path opened as a pipe, a console or another device rather than a file
// on a disk (system/WidePath.h refuses those).
constexpr DWORD kNotDiskFileError = kOwnErrorBit | 1;
constexpr const char* kNotDiskFileText = "This is not a file on a disk.";

// The text for error: the program's own for its codes, otherwise the
// system's, or "Error <number>" when the system has none.
std::string ErrorText(DWORD error);
