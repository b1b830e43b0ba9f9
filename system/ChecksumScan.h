// Recognises a checksum in clipboard text laid out in one of the common ways.
#pragma once

#include "engine/Md5.h"

#include <cstddef>

// Scans at most length bytes of text (a zero byte also ends it) for 32 hex
// digits: after leading blanks, tabs and line breaks, groups of one even
// length L separated by single blanks (or, when L is 8 or 16, by single line
// breaks, CR LF counting as one), the last group possibly shorter, and the
// 32nd digit followed by the end, a blank, a tab, CR or LF. On acceptance
// digits receives the 32 digits as written and a zero; otherwise it holds
// whatever was collected (zero-terminated) and false is returned.
bool ScanChecksum(const char* text, size_t length, char digits[kChecksumLength + 1]);
