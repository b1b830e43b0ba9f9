#include "system/HexText.h"

bool IsHexText(const char* text) {
    for (; *text != '\0'; ++text) {
        char c = *text;
        bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex)
            return false;
    }
    return true;
}
