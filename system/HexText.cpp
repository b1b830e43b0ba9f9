#include "system/HexText.h"

#include "engine/Md5.h"

bool IsHexText(const char* text) {
    for (; *text != '\0'; ++text) {
        if (HexDigitValue(*text) < 0)
            return false;
    }
    return true;
}
