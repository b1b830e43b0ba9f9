// The colour texts of the settings store. Colours are COLORREF-ordered values
// (0x00BBGGRR); the stored text is "#rrggbb", and "$bbggrr" is read as well.
#pragma once

#include <cstdint>

// Size of the text ColourToText writes, with its terminating zero.
constexpr int kColourTextSize = 8;

// Hexadecimal digits after leading spaces, up to the first other character.
// No digit gives 0; digits beyond the eighth push the oldest ones out.
uint32_t ParseHex(const char* text);

// The colour a stored text names: after leading spaces, "#" and RRGGBB digits
// (top byte dropped) or "$" and the COLORREF itself. Any other text gives
// fallback.
uint32_t ColourFromText(const char* text, uint32_t fallback);

// Writes "#rrggbb" in lower case into buffer (kColourTextSize characters).
void ColourToText(char* buffer, uint32_t colour);
