// A new checksum list, written whole or not at all: its lines go to a
// temporary file beside the target, which takes the target's place only once
// every line is on the disk. A stop or a failure leaves no partial list and a
// file that had the target's name as it was.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class ListFileWriter {
  public:
    ListFileWriter() = default;
    ListFileWriter(const ListFileWriter&) = delete;
    ListFileWriter& operator=(const ListFileWriter&) = delete;
    // Abandons a list not committed.
    ~ListFileWriter();

    // Creates the temporary file in the folder of target (a full path, not
    // the literal form). False, with Error(), when it cannot.
    bool Begin(const std::wstring& target);
    // Adds the line of one file, its name in UTF-8. False when a write
    // failed (a full disk): Error() says why, and the list is abandoned.
    bool Add(const uint8_t digest[16], const std::string& name);
    // Writes the rest, flushes it to the disk and renames the temporary file
    // over the target. False, with Error(), when any step fails; the
    // temporary file is then gone and the target as it was.
    bool Commit();
    // Deletes the temporary file; nothing when there is none.
    void Abandon();

    DWORD Error() const { return error_; }

  private:
    bool WriteBuffer();
    bool Fail(DWORD error);

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::wstring temp_;   // literal form
    std::wstring target_; // literal form
    std::string buffer_;
    DWORD error_ = ERROR_SUCCESS;
};
