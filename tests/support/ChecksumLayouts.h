// Checksum texts in the layouts people paste: the 32 digits split into groups.
#pragma once

#include <string>
#include <vector>

// digits (32 characters) split into groups of size, joined by the separators
// in turn.
inline std::string GroupedChecksum(const char* digits, size_t size,
                                   const std::vector<std::string>& separators) {
    std::string text;
    size_t gap = 0;
    for (size_t i = 0; i < 32; i += size) {
        if (i != 0)
            text += separators[gap++ % separators.size()];
        text.append(digits + i, size);
    }
    return text;
}
