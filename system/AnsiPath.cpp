#include "system/AnsiPath.h"

#include <windows.h>

#include <vector>

#include "system/CommandLineScan.h"

namespace {

bool IsSlash(char c) {
    return c == '\\' || c == '/';
}

// "X:\..." or "\\server\..." (also "\\?\..."). Anything else depends on the
// current folder or drive of the process that opens it.
bool IsFullPath(const char* path) {
    if (IsSlash(path[0]) && IsSlash(path[1]))
        return true;
    char drive = path[0] | 0x20;
    return drive >= 'a' && drive <= 'z' && path[1] == ':' && IsSlash(path[2]);
}

// Resolved in Unicode: the current folder's own name may not fit the code page.
std::string FullPath(const char* path) {
    int wideSize = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (wideSize <= 0)
        return path;
    std::vector<wchar_t> wide(wideSize);
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), wideSize);
    DWORD fullSize = GetFullPathNameW(wide.data(), 0, nullptr, nullptr);
    if (fullSize == 0)
        return path;
    std::vector<wchar_t> full(fullSize);
    DWORD written = GetFullPathNameW(wide.data(), fullSize, full.data(), nullptr);
    if (written == 0 || written >= fullSize)
        return path;
    return AnsiFromWide(full.data());
}

void AppendFullPath(const char* path, void* context) {
    std::string& text = *static_cast<std::string*>(context);
    std::string full = IsFullPath(path) ? std::string(path) : FullPath(path);
    if (!text.empty())
        text += ' ';
    if (full.find(' ') == std::string::npos)
        text += full;
    else
        text += '"' + full + '"';
}

} // namespace

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

std::string FullPathsCommandLine(const char* text) {
    std::string full;
    ScanCommandLine(text, AppendFullPath, &full);
    return full;
}
