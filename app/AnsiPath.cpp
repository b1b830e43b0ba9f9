#include "app/AnsiPath.h"

#include <windows.h>

#include <vector>

std::string AnsiFromWide(const wchar_t* wide) {
    // A UTF-8 code page holds every character and refuses the best-fit flag.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* mark = utf8 ? nullptr : kUnmappedMark;
    int size = WideCharToMultiByte(CP_ACP, flags, wide, -1, nullptr, 0, mark, nullptr);
    if (size <= 0)
        return std::string();
    std::vector<char> text(size);
    WideCharToMultiByte(CP_ACP, flags, wide, -1, text.data(), size, mark, nullptr);
    return std::string(text.data());
}

std::string OwnCommandLine() {
    // The C runtime's rule for the entry point's argument: the name runs to
    // the first blank outside double quotes.
    const wchar_t* p = GetCommandLineW();
    bool quoted = false;
    while (*p > L' ' || (*p != L'\0' && quoted)) {
        if (*p == L'"')
            quoted = !quoted;
        ++p;
    }
    while (*p != L'\0' && *p <= L' ')
        ++p;
    return AnsiFromWide(p);
}
