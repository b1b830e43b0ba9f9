// Fuzzes the colour text rule: any stored text is read, written again and read
// back, and ParseHex is checked against the C library's own conversion.
#include "system/ColourText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t kFallback = 0xA5A5A5A5;
constexpr char kHexDigits[] = "0123456789abcdefABCDEF";

// The last (at most eight) digits of the run after the spaces, by strtoul.
uint32_t ReferenceHex(const char* text) {
    text += std::strspn(text, " ");
    size_t run = std::strspn(text, kHexDigits);
    size_t keep = run > 8 ? 8 : run;
    std::string digits(text + run - keep, keep);
    return digits.empty() ? 0 : static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
}

uint32_t SwapRedBlue(uint32_t value) {
    return ((value >> 16) & 0xFF) | ((value & 0xFF) << 16) | (value & 0xFF00);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string stored(reinterpret_cast<const char*>(data), size);
    const char* text = stored.c_str(); // ends at the first zero byte, as a stored text does

    if (ParseHex(text) != ReferenceHex(text))
        __builtin_trap();

    const uint32_t colour = ColourFromText(text, kFallback);
    const char* prefix = text + std::strspn(text, " ");
    uint32_t expected = kFallback;
    if (*prefix == '#')
        expected = SwapRedBlue(ReferenceHex(prefix + 1));
    else if (*prefix == '$')
        expected = ReferenceHex(prefix + 1);
    if (colour != expected)
        __builtin_trap();

    char written[kColourTextSize];
    ColourToText(written, colour);
    if (std::strlen(written) != 7 || written[0] != '#' ||
        std::strspn(written + 1, "0123456789abcdef") != 6)
        __builtin_trap();
    if (ColourFromText(written, kFallback) != (colour & 0xFFFFFF))
        __builtin_trap();
    return 0;
}
