#include "system/FullPathRule.h"

#include <vector>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// Index just after the name that starts at index (the next separator or the end).
size_t NameEnd(const std::wstring& path, size_t index) {
    while (index < path.size() && !IsSeparator(path[index]))
        ++index;
    return index;
}

size_t SkipSeparators(const std::wstring& path, size_t index) {
    while (index < path.size() && IsSeparator(path[index]))
        ++index;
    return index;
}

// root: "X:" or "\\server\share"; rest: the names after it, with "." and
// ".." worked out.
std::wstring JoinResolved(const std::wstring& root, const std::wstring& rest) {
    std::vector<std::wstring> names;
    for (size_t index = SkipSeparators(rest, 0); index < rest.size();) {
        size_t end = NameEnd(rest, index);
        std::wstring name = rest.substr(index, end - index);
        if (name == L"..") {
            if (!names.empty())
                names.pop_back();
        } else if (name != L".") {
            names.push_back(name);
        }
        index = SkipSeparators(rest, end);
    }
    std::wstring full = root;
    // A root alone keeps its backslash: "X:" would name the drive's current
    // folder, "\\?\X:" the volume itself.
    if (names.empty())
        full += L'\\';
    for (const std::wstring& name : names)
        full += L'\\' + name;
    return full;
}

// "\\server\share" of a UNC path, and the index after it.
std::wstring UncRoot(const std::wstring& path, size_t* restStart) {
    size_t server = SkipSeparators(path, 0);
    size_t serverEnd = NameEnd(path, server);
    size_t share = SkipSeparators(path, serverEnd);
    size_t shareEnd = NameEnd(path, share);
    *restStart = shareEnd;
    std::wstring root = L"\\\\" + path.substr(server, serverEnd - server);
    if (shareEnd > share)
        root += L'\\' + path.substr(share, shareEnd - share);
    return root;
}

bool IsFullRoot(PathRoot root) {
    return root == PathRoot::Drive || root == PathRoot::Unc;
}

} // namespace

PathRoot RootOf(const std::wstring& path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        bool literal =
            path.size() >= 4 && (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3]);
        return literal ? PathRoot::Literal : PathRoot::Unc;
    }
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':')
        return path.size() >= 3 && IsSeparator(path[2]) ? PathRoot::Drive : PathRoot::DriveRelative;
    if (!path.empty() && IsSeparator(path[0]))
        return PathRoot::RootRelative;
    return PathRoot::Relative;
}

std::wstring MakeFullPath(const std::wstring& path, const std::wstring& base) {
    if (path.empty())
        return std::wstring();
    switch (RootOf(path)) {
    case PathRoot::Literal:
        return path;
    case PathRoot::Unc: {
        size_t restStart = 0;
        std::wstring root = UncRoot(path, &restStart);
        return JoinResolved(root, path.substr(restStart));
    }
    case PathRoot::Drive:
        return JoinResolved(path.substr(0, 2), path.substr(2));
    default:
        break;
    }
    const PathRoot baseRoot = RootOf(base);
    if (!IsFullRoot(baseRoot))
        return std::wstring();
    switch (RootOf(path)) {
    case PathRoot::DriveRelative:
        return MakeFullPath(base + L'\\' + path.substr(2), std::wstring());
    case PathRoot::RootRelative: {
        size_t restStart = 2;
        std::wstring root =
            baseRoot == PathRoot::Unc ? UncRoot(base, &restStart) : base.substr(0, 2);
        return JoinResolved(root, path);
    }
    default:
        return MakeFullPath(base + L'\\' + path, std::wstring());
    }
}

std::wstring LiteralForm(const std::wstring& fullPath) {
    switch (RootOf(fullPath)) {
    case PathRoot::Unc:
        return std::wstring(kLiteralPrefix) + L"UNC\\" + fullPath.substr(2);
    case PathRoot::Drive:
        return kLiteralPrefix + fullPath;
    default:
        return fullPath;
    }
}
