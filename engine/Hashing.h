// File and string hashing into checksum text.
#pragma once

#include <windows.h>

#include <cstdint>

// Asked after every chunk whether the caller gave up on the file (a cancel).
using CancelCheck = bool (*)();

// Reads the open file from its current position to its end in 1024-byte
// chunks; returns new checksum text (release with FreeChecksum) or null when
// a read fails (the system's last error is left set) or when cancelled
// answered true meanwhile. The caller opened the file and closes it.
char* HashOpenFile(HANDLE file, CancelCheck cancelled);

// How far a block read may run before cancelled is asked again.
constexpr DWORD kCancelStep = 1024;

// As HashOpenFile, but read in large blocks of blockSize bytes into block
// (fewer calls into the system for many big files), each hashed in steps of
// kCancelStep bytes with cancelled asked after every step. True with the MD5
// in digest; false when a read failed (last error kept) or on a cancel.
bool HashOpenFileInBlocks(HANDLE file, CancelCheck cancelled, uint8_t* block, DWORD blockSize,
                          uint8_t digest[16]);

// Hashes the bytes of a zero-terminated string; never fails but for memory.
char* HashString(const char* text);
