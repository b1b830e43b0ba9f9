// The rows of a list job, shared by its worker and the list window: the
// worker fills rows in order and publishes how many are done; the window
// reads only published rows, on a timer, so no message is sent per row.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "system/ChecksumList.h"
#include "system/FolderWalk.h"

// What a row shows in the Result column.
enum class RowResult : uint8_t {
    Waiting,    // not reached yet
    Ok,         // the file's MD5 equals the listed one
    Failed,     // it differs
    Missing,    // no such file or folder
    Unreadable, // could not be opened or read: error holds the system's code
    Added,      // hashed into a new list
};

// About 24 bytes per row beside the list's own entry.
struct ListRow {
    uint8_t digest[16]; // the file's own MD5, when hasDigest
    DWORD error;        // Missing, Unreadable: the system's code
    RowResult result;
    bool hasDigest;
};

// What the job does with the rows.
enum class ListMode : uint8_t {
    Verify, // one row per entry of list
    Create, // one row per file of walk, hashed into a new list
};

struct ListTable {
    ListMode mode = ListMode::Verify;
    FolderWalk walk;       // Create: the files, one per row
    std::string listPath;  // the list file, as handed to the job
    std::wstring listName; // its file name, for the window's caption
    ChecksumList list;     // the entries, one per row
    std::unique_ptr<ListRow[]> rows;
    size_t rowCount = 0;
    // Written by the worker only: rows [0, done) hold their results.
    std::atomic<size_t> done{0};
    // Set once by the worker when it has finished; stopped when it was
    // stopped before the last row.
    std::atomic<bool> ended{false};
    std::atomic<bool> stopped{false};
};

// A row's name (as written in the list) as wide text.
void ListNameAsWide(const char* name, size_t length, bool utf8, std::wstring* wide, void*);
void RowName(const ListTable& table, size_t row, std::wstring* wide);
