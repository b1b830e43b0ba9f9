// The names of checksum lists as Windows paths: where a name starts from, the
// file it means beside the list, and the form of the names a new list holds.
// The names are wide text, already converted from the list's bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Where a name starts from; '/' and '\' both separate.
enum class ListNameRoot {
    Relative,      // a\b: the folder that holds the list
    Rooted,        // \a: the root of the list's drive or share
    DriveRelative, // X:a: the current folder of drive X
    Drive,         // X:\a, X:/a
    Unc,           // \\server\share\a, //server/share/a
    Device,        // \\?\..., \\.\..., //?/..., //./...: the system's own forms
};

ListNameRoot ListNameRootOf(std::wstring_view name);

// The folders and the file of name after its root, split at '/' and '\', the
// empty parts of doubled or trailing separators left out; "." and ".." kept.
std::vector<std::wstring_view> ListNameParts(std::wstring_view name);

// The full path of the file that name means in a list that lies in listFolder
// (a full path: X:\..., \\server\share\..., or the \\?\ form of either), with
// '\' between folders, "." and ".." resolved without going above the root, and
// each part exactly as written: a trailing dot or blank stays, for the file
// that has it. A trailing separator stays too, so that a file named as a
// folder is not opened. A Device name is given as written. False for a
// DriveRelative name, which only the system can make full.
bool ListNameFullPath(std::wstring_view listFolder, std::wstring_view name, std::wstring* full);

// How the names of a new list of the files below chosenFolder start when the
// list is saved in listFolder (both full paths in the same form): true with
// prefix "" when they are the same folder, or with the folders from listFolder
// down to chosenFolder and a '\' when listFolder is above it; otherwise false
// with chosenFolder's full path and a '\'. Folders are compared by
// CompareListPaths.
bool ListNamePrefix(std::wstring_view chosenFolder, std::wstring_view listFolder,
                    std::wstring* prefix);

// Orders paths ordinally without regard to case: code unit by code unit, the
// letters a to z taken as A to Z; a path before every longer one it begins.
// Only ASCII letters are folded, where the file system folds every letter
// that has an upper case: two names differing only in the case of other
// letters are two files here, and are ordered by their code units.
int CompareListPaths(std::wstring_view a, std::wstring_view b);

// The name proposed for a new list of folder (a full path): "<folder
// name>.md5", or "<drive letter>.md5" for a drive's root ("<share>.md5" for a
// share's), so that the list says what it holds.
std::wstring ProposedListName(std::wstring_view folder);

// name in UTF-8, the list's own encoding, into *utf8 (replacing it). False
// for a name holding a lone surrogate, which Windows allows in a file name
// but no UTF-8 text can hold: any stand-in would name another file.
bool ListNameUtf8(std::wstring_view name, std::string* utf8);
