#include "system/AnsiPath.h"

#include <windows.h>

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

void AppendFullPath(const char* path, void* context) {
    std::string& text = *static_cast<std::string*>(context);
    // Made full by the program's own rule, which keeps every name as written.
    // A token such as /verify begins with '/' and is handed on as it is.
    const bool token = path[0] == '/' && path[1] != '/';
    std::string full = IsFullPath(path) || token ? std::string(path) : FullPath(path);
    if (full.empty())
        full = path;
    if (!text.empty())
        text += ' ';
    if (full.find(' ') == std::string::npos)
        text += full;
    else
        text += '"' + full + '"';
}

} // namespace

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
