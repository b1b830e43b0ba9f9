#include "system/ChecksumScan.h"

namespace {

bool IsLeadingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Line breaks may separate groups only of these lengths (lines of 16 or 32).
bool AllowsLineBreak(size_t groupLength) {
    return groupLength == 8 || groupLength == 16;
}

} // namespace

bool ScanChecksum(const char* text, size_t length, char digits[kChecksumLength + 1]) {
    // The text ends at its length or at its first zero, whichever comes first.
    auto at = [&](size_t i) { return i < length ? text[i] : '\0'; };

    size_t i = 0;
    while (IsLeadingSpace(at(i)))
        ++i;

    size_t count = 0;
    size_t groupLength = 0; // L, set by the first complete group
    bool accepted = false;
    for (;;) {
        size_t run = 0;
        while (count < kChecksumLength && HexDigitValue(at(i)) >= 0) {
            digits[count++] = text[i++];
            ++run;
        }
        if (count == kChecksumLength) {
            // The last group may fall short of L but never exceed it.
            char next = at(i);
            bool ends = next == '\0' || IsLeadingSpace(next);
            accepted = ends && (groupLength == 0 || run <= groupLength);
            break;
        }
        // An empty group (end of text, doubled separator, blank line) ends the scan.
        if (run == 0)
            break;
        if (groupLength == 0) {
            if (run % 2 != 0)
                break;
            groupLength = run;
        } else if (run != groupLength) {
            break;
        }
        char separator = at(i);
        if (separator == ' ') {
            ++i;
        } else if (separator == '\r' && AllowsLineBreak(groupLength)) {
            ++i;
            if (at(i) == '\n')
                ++i;
        } else if (separator == '\n' && AllowsLineBreak(groupLength)) {
            ++i; // LF CR: the CR starts an empty group
        } else {
            break;
        }
    }
    digits[count] = '\0';
    return accepted;
}
