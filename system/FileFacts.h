// File size and time, their texts, long paths, and the record of where a
// field's checksum came from.
#pragma once

#include <windows.h>

#include <string>

#include "system/WidePath.h"

// A size or time half that is not known; both halves so mean the whole.
constexpr DWORD kUnknownHalf = 0xFFFFFFFF;
// False when a size or time is not known: both its halves are kUnknownHalf.
bool IsFactKnown(DWORD low, DWORD high);

// Where a hash field's checksum came from (one record per field).
struct HashFieldInfo {
    char path[kPathTextSize]; // full short path of the file; empty when not from a file
    char hash[64];            // the checksum text last set for the field
    DWORD sizeLow;            // both halves all ones: unknown
    DWORD sizeHigh;
    FILETIME modified; // both halves all ones: unknown
};

bool QueryFileSize(const char* path, DWORD* low, DWORD* high);
bool QueryFileTime(const char* path, FILETIME* time);
// buffer: at least 64 characters. Returns buffer.
char* FormatFileSize(char* buffer, DWORD low, DWORD high);
// buffer: at least 32 characters. Returns buffer.
char* FormatFileTime(char* buffer, const FILETIME* time);
// The long form of a full path, each component as the file system stores
// it; what cannot be looked up stays as ExpandLongPath leaves it.
std::string ToLongPath(const char* path);
int ExpandLongPath(const char* source, char* destination, int size);
