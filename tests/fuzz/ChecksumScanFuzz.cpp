// Fuzzes the clipboard checksum scanner: it must stay inside the bytes it is
// given (the sanitizers watch) and accept only 32 hex digits found in order.
#include "system/ChecksumScan.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

static bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    char digits[kChecksumLength + 1];
    bool accepted = ScanChecksum(text, size, digits);
    size_t collected = std::strlen(digits);
    if (collected > kChecksumLength)
        std::abort();
    if (!accepted)
        return 0;
    if (collected != kChecksumLength)
        std::abort();
    // The digits are the text's first 32 hex digits, as written.
    size_t found = 0;
    for (size_t i = 0; i < size && found < kChecksumLength && text[i] != '\0'; ++i) {
        if (IsHex(text[i]) && text[i] != digits[found++])
            std::abort();
    }
    if (found != kChecksumLength)
        std::abort();
    return 0;
}
