#include "system/ColourText.h"

#include "engine/Md5.h"

namespace {

// Exchanges the red and blue bytes and drops the top byte.
uint32_t SwapRedBlue(uint32_t value) {
    return ((value >> 16) & 0xFF) | ((value & 0xFF) << 16) | (value & 0xFF00);
}

} // namespace

uint32_t ParseHex(const char* text) {
    while (*text == ' ')
        ++text;
    uint32_t value = 0;
    for (int digit = HexDigitValue(*text); digit >= 0; digit = HexDigitValue(*++text))
        value = (value << 4) | static_cast<uint32_t>(digit);
    return value;
}

uint32_t ColourFromText(const char* text, uint32_t fallback) {
    while (*text == ' ')
        ++text;
    if (*text == '#')
        return SwapRedBlue(ParseHex(text + 1));
    if (*text == '$')
        return ParseHex(text + 1);
    return fallback;
}

void ColourToText(char* buffer, uint32_t colour) {
    static const char kDigits[] = "0123456789abcdef";
    uint32_t rgb = SwapRedBlue(colour);
    buffer[0] = '#';
    for (int i = 6; i >= 1; --i, rgb >>= 4)
        buffer[i] = kDigits[rgb & 0xF];
    buffer[7] = '\0';
}
