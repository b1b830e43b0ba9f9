// The files below a folder, for a new checksum list: counted and put in the
// order the list gives them before the first one is read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Hashing.h"

class FolderWalk {
  public:
    // Lists every file below folder (a full path, not the literal form):
    // hidden and system files too, and the folders behind links, but never a
    // folder that the walk is already inside, which would lead it round and
    // round. leaveOut, when not empty, is the full path of a file left out:
    // the list being written. Replaces what an earlier walk found. False when
    // folder itself cannot be listed, or when cancelled said so between two
    // entries; Error() then says why (ERROR_CANCELLED for a cancel).
    bool Walk(const std::wstring& folder, const std::wstring& leaveOut, CancelCheck cancelled);

    DWORD Error() const { return error_; }
    // What was found, in order of the relative paths by CompareListPaths.
    size_t Count() const { return entries_.size(); }
    // Its path relative to the folder, '\' between folders. A folder below
    // that could not be listed is an entry too, its path ending in '\'.
    std::wstring_view Name(size_t index) const {
        return std::wstring_view(names_.data() + entries_[index].name, entries_[index].length);
    }
    // ERROR_SUCCESS for a file; for a folder that could not be listed, why not.
    DWORD EntryError(size_t index) const { return entries_[index].error; }
    // Files found, less the folders that could not be listed.
    size_t Files() const { return files_; }

  private:
    struct Entry {
        size_t name; // offset in names_
        uint32_t length;
        DWORD error;
    };
    // A folder as the file system knows it, whatever path or link leads to it.
    struct Identity {
        bool known;
        DWORD volume;
        DWORD indexHigh;
        DWORD indexLow;
        size_t parent; // index in folders_ of the folder the walk came from; npos at the top
    };

    static Identity Identify(const std::wstring& literal, size_t parent);
    bool InsideItself(const Identity& folder) const;
    void Add(std::wstring_view name, DWORD error);

    std::vector<Entry> entries_;
    std::vector<wchar_t> names_;
    std::vector<Identity> folders_;
    size_t files_ = 0;
    DWORD error_ = ERROR_SUCCESS;
};
