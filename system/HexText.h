// Whether a text is hexadecimal, the test every checksum text passes.
#pragma once

// True when every character is 0-9, a-f or A-F; the empty text counts as
// hexadecimal (callers test the length first).
bool IsHexText(const char* text);
