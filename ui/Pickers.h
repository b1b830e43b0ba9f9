// The open-file and folder pickers, placed over the main window.
#pragma once

#include <windows.h>

#include <string>

// The chosen file's path, of any length, into *path (cleared first). True
// when a file was chosen.
// filter: the dialog's filter pairs, ended by one more zero (null: all files).
bool PickFile(HWND owner, std::string* path, const wchar_t* filter = nullptr);
// The filters of a checksum list to open.
constexpr wchar_t kChecksumListFilter[] = L"Checksum lists (*.md5)\0*.md5\0All files (*.*)\0*.*\0";
// The chosen folder into *chosen, starting from initialFolder. True when a
// folder was chosen.
bool PickFolder(HWND owner, const std::string& initialFolder, std::string* chosen);
// Where to save a new checksum list: the save-file dialog opening in folder
// with proposedName, asking before it replaces a file. The chosen path into
// *path; true when one was chosen.
bool PickListTarget(HWND owner, const std::string& folder, const std::wstring& proposedName,
                    std::string* path);
// Centres window over reference (or the primary screen when null).
void CentreWindow(HWND window, HWND reference);
