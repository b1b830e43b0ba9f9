// File and string hashing into checksum text.
#pragma once

// Asked after every chunk whether the caller gave up on the file (a cancel).
using CancelCheck = bool (*)();

// Reads the file in 1024-byte chunks; returns new checksum text (release with
// FreeChecksum) or null when the file cannot be opened or read (the system's
// last error is left set) or when cancelled answered true meanwhile.
char* HashFile(const char* path, CancelCheck cancelled);

// Hashes the bytes of a zero-terminated string; never fails but for memory.
char* HashString(const char* text);
