// The file and folder calls of the jobs and the file facts, for paths of any
// length and any characters. The program holds paths as 8-bit text in its
// code page: UTF-8 where the system honours the manifest's code page, the
// ANSI code page elsewhere. Here a path is turned into UTF-16 and the wide
// call gets the literal ("\\?\") form of its full path, which takes up to
// 32,767 characters whether or not the system has long paths enabled, and
// names exactly the file named (system/FullPathRule.h).
#pragma once

#include <windows.h>

#include <string>

#include "engine/Hashing.h"
#include "system/ScopedHandle.h"

// The most UTF-16 units the wide calls take in a path, its zero included.
constexpr int kWidePathSize = 32767;
// Room for the longest such path as 8-bit text (each unit at most three bytes
// in UTF-8) and its zero.
constexpr int kPathTextSize = 3 * kWidePathSize + 1;

// Stands for each character the ANSI code page cannot hold. No file name
// holds it, so such a path fails to open and is reported by name, where the
// system's best-fit mapping would have named a look-alike file.
constexpr char kUnmappedMark[] = "?";

// text, in codePage, as UTF-16. False (and *wide empty) when text holds bytes
// that are no character of the code page.
bool WideFromText(const char* text, UINT codePage, std::wstring* wide);
// wide in codePage without best-fit mapping: each character the code page
// cannot hold becomes kUnmappedMark (a UTF-8 code page holds every one).
std::string TextFromWide(const wchar_t* wide, UINT codePage);
// TextFromWide in the program's code page.
std::string AnsiFromWide(const wchar_t* wide);

// The full path of path, made against this process's current folder by the
// rule of system/FullPathRule.h: ".", ".." and separators worked out, every
// name kept as written. Empty, with the last error set, when path is empty
// or not text of the code page.
std::string FullPath(const char* path);
// The literal form of the full path, which the wide calls get; empty as
// above, and when it is longer than the wide calls take.
std::wstring LiteralPath(const char* path);

// CreateFileW on the literal path; empty (INVALID_HANDLE_VALUE) with the
// system's last error kept when it fails, and with kNotDiskFileError
// (system/ErrorText.h) when it opened something other than a file on a disk.
ScopedFile OpenPath(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
// The checksum of the file at path, read as the engine reads an open file;
// null with the last error kept when it cannot be opened or read, or when
// cancelled said so.
char* HashFile(const char* path, CancelCheck cancelled);

// The full path in its short (8.3) form; the full path itself when the
// system has no short form for it; empty when it cannot be made full.
std::string ShortPath(const char* path);
// The name the file system stores for the last component of path (its long
// name, with the case stored on disk); false when nothing is found or the
// component holds a wildcard, which would name whatever matches first.
bool FindStoredName(const char* path, std::string* name);

// One folder's entries, listed with the wide calls: names of any length.
class FolderListing {
  public:
    using FindFirst = HANDLE(WINAPI*)(LPCWSTR pattern, LPWIN32_FIND_DATAW entry);
    // Lists folder (its path without a pattern) with first, FindFirstFileW
    // unless a test puts in a listing its file system cannot give.
    explicit FolderListing(const char* folder, FindFirst first = FindFirstFileW);
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    // Whether the listing began; Error() then says why not.
    explicit operator bool() const { return static_cast<bool>(find_); }
    DWORD Error() const { return error_; }
    // The current entry, its long name and its short (8.3) name, empty when
    // the entry has none.
    const WIN32_FIND_DATAW& Entry() const { return entry_; }
    std::string Name() const { return AnsiFromWide(entry_.cFileName); }
    std::string ShortName() const { return AnsiFromWide(entry_.cAlternateFileName); }
    // Moves to the next entry; false at the end.
    bool Next();

  private:
    HANDLE Begin(const char* folder, FindFirst first);

    WIN32_FIND_DATAW entry_ = {};
    DWORD error_ = ERROR_SUCCESS;
    ScopedFind find_;
};
