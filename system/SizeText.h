// The size text of a file: "0 B", "1000 KB", "4.77 MB", "0.98 TB"...
#pragma once

#include <cstdint>

// Size of the buffer FormatSizeText needs.
constexpr int kSizeTextSize = 64;

// Writes the text for the size (high << 32 | low) into buffer (kSizeTextSize
// characters) and returns buffer. A unit is used only once the value would
// pass 1000 of the smaller one. Ties round to even on every platform.
char* FormatSizeText(char* buffer, uint32_t low, uint32_t high);
