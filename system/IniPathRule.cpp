#include "system/IniPathRule.h"

#include <cstring>

void IniPathFromModulePath(char* path, int capacity) {
    // Room for ".ini" and the zero is kept free.
    int length = 0;
    while (length < capacity - 5 && path[length] != '\0')
        ++length;
    path[length] = '\0';

    char* lastDot = std::strrchr(path, '.');
    char* lastSlash = std::strrchr(path, '\\');
    if (lastDot != nullptr && (lastSlash == nullptr || lastDot > lastSlash)) {
        *lastDot = '\0';
        length = static_cast<int>(lastDot - path);
    }
    std::memcpy(path + length, ".ini", 5);
}
