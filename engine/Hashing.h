// File and string hashing into checksum text.
#pragma once

#include <windows.h>

// Asked after every chunk whether the caller gave up on the file (a cancel).
using CancelCheck = bool (*)();

// Reads the open file from its current position to its end in 1024-byte
// chunks; returns new checksum text (release with FreeChecksum) or null when
// a read fails (the system's last error is left set) or when cancelled
// answered true meanwhile. The caller opened the file and closes it.
char* HashOpenFile(HANDLE file, CancelCheck cancelled);

// Hashes the bytes of a zero-terminated string; never fails but for memory.
char* HashString(const char* text);
