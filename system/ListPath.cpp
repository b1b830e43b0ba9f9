#include "system/ListPath.h"

#include <cstdint>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

wchar_t FoldCase(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c;
}

// The end of the part of path that starts at from (separators skipped first).
size_t PartEnd(std::wstring_view path, size_t from) {
    while (from < path.size() && !IsSeparator(path[from]))
        ++from;
    return from;
}

// The end of the part after the one that starts at from: the share after
// the server.
size_t NextPartEnd(std::wstring_view path, size_t from) {
    size_t end = PartEnd(path, from);
    return end < path.size() ? PartEnd(path, end + 1) : end;
}

// The length of path's root: "X:", "\\server\share", "\\?\X:",
// "\\?\UNC\server\share", one separator, or nothing.
size_t RootLength(std::wstring_view path, ListNameRoot kind) {
    switch (kind) {
    case ListNameRoot::Drive:
    case ListNameRoot::DriveRelative:
        return 2;
    case ListNameRoot::Rooted:
        return 1;
    case ListNameRoot::Unc:
        return NextPartEnd(path, 2);
    case ListNameRoot::Device: {
        std::wstring_view rest = path.substr(4);
        if (rest.size() >= 2 && IsDriveLetter(rest[0]) && rest[1] == L':')
            return 6;
        if (rest.size() >= 4 && FoldCase(rest[0]) == L'U' && FoldCase(rest[1]) == L'N' &&
            FoldCase(rest[2]) == L'C' && IsSeparator(rest[3]))
            return NextPartEnd(path, 8);
        return PartEnd(path, 4);
    }
    default:
        return 0;
    }
}

void AddParts(std::wstring_view path, std::vector<std::wstring_view>* parts) {
    size_t start = 0;
    while (start < path.size()) {
        size_t end = PartEnd(path, start);
        if (end > start)
            parts->push_back(path.substr(start, end - start));
        start = end + 1;
    }
}

// Adds name's parts to resolved, "." dropped and ".." taking the last one back.
void ResolveParts(std::wstring_view name, std::vector<std::wstring_view>* resolved) {
    for (std::wstring_view part : ListNameParts(name)) {
        if (part == L".")
            continue;
        if (part == L"..") {
            if (!resolved->empty())
                resolved->pop_back();
            continue;
        }
        resolved->push_back(part);
    }
}

// root with '\' for its separators, then each part after a '\'.
std::wstring JoinPath(std::wstring_view root, const std::vector<std::wstring_view>& parts) {
    std::wstring path(root);
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    for (std::wstring_view part : parts) {
        path += L'\\';
        path += part;
    }
    if (parts.empty())
        path += L'\\';
    return path;
}

bool SameFolderName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]) && !(IsSeparator(a[i]) && IsSeparator(b[i])))
            return false;
    }
    return true;
}

} // namespace

ListNameRoot ListNameRootOf(std::wstring_view name) {
    if (name.size() >= 2 && IsDriveLetter(name[0]) && name[1] == L':')
        return name.size() > 2 && IsSeparator(name[2]) ? ListNameRoot::Drive
                                                       : ListNameRoot::DriveRelative;
    if (name.empty() || !IsSeparator(name[0]))
        return ListNameRoot::Relative;
    if (name.size() < 2 || !IsSeparator(name[1]))
        return ListNameRoot::Rooted;
    if (name.size() >= 4 && (name[2] == L'?' || name[2] == L'.') && IsSeparator(name[3]))
        return ListNameRoot::Device;
    return ListNameRoot::Unc;
}

std::vector<std::wstring_view> ListNameParts(std::wstring_view name) {
    std::vector<std::wstring_view> parts;
    AddParts(name.substr(RootLength(name, ListNameRootOf(name))), &parts);
    return parts;
}

bool ListNameFullPath(std::wstring_view listFolder, std::wstring_view name, std::wstring* full) {
    ListNameRoot kind = ListNameRootOf(name);
    if (kind == ListNameRoot::DriveRelative)
        return false;
    if (kind == ListNameRoot::Device) {
        full->assign(name);
        return true;
    }
    std::wstring_view root;
    std::vector<std::wstring_view> parts;
    if (kind == ListNameRoot::Relative || kind == ListNameRoot::Rooted) {
        root = listFolder.substr(0, RootLength(listFolder, ListNameRootOf(listFolder)));
        if (kind == ListNameRoot::Relative)
            AddParts(listFolder.substr(root.size()), &parts);
    } else {
        root = name.substr(0, RootLength(name, kind));
    }
    ResolveParts(name, &parts);
    *full = JoinPath(root, parts);
    if (!parts.empty() && !name.empty() && IsSeparator(name.back()))
        *full += L'\\';
    return true;
}

bool ListNamePrefix(std::wstring_view chosenFolder, std::wstring_view listFolder,
                    std::wstring* prefix) {
    size_t chosenRoot = RootLength(chosenFolder, ListNameRootOf(chosenFolder));
    size_t listRoot = RootLength(listFolder, ListNameRootOf(listFolder));
    std::vector<std::wstring_view> chosen;
    std::vector<std::wstring_view> list;
    AddParts(chosenFolder.substr(chosenRoot), &chosen);
    AddParts(listFolder.substr(listRoot), &list);
    bool above =
        SameFolderName(chosenFolder.substr(0, chosenRoot), listFolder.substr(0, listRoot)) &&
        list.size() <= chosen.size();
    for (size_t i = 0; above && i < list.size(); ++i)
        above = SameFolderName(chosen[i], list[i]);
    prefix->clear();
    if (!above) {
        *prefix = JoinPath(chosenFolder.substr(0, chosenRoot), chosen);
        if (!chosen.empty())
            *prefix += L'\\';
        return false;
    }
    for (size_t i = list.size(); i < chosen.size(); ++i) {
        *prefix += chosen[i];
        *prefix += L'\\';
    }
    return true;
}

int CompareListPaths(std::wstring_view a, std::wstring_view b) {
    size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        // Code units as unsigned values: wchar_t is signed on some hosts.
        uint32_t x = static_cast<uint32_t>(FoldCase(a[i]));
        uint32_t y = static_cast<uint32_t>(FoldCase(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::wstring ProposedListName(std::wstring_view folder) {
    ListNameRoot kind = ListNameRootOf(folder);
    size_t root = RootLength(folder, kind);
    std::vector<std::wstring_view> parts;
    AddParts(folder.substr(root), &parts);
    std::wstring name;
    if (!parts.empty()) {
        name = parts.back();
    } else if (root >= 2 && folder[root - 1] == L':') {
        name = folder[root - 2]; // X: or \\?\X:
    } else {
        // A share's root: the share, the last part of the root.
        size_t start = root;
        while (start > 0 && !IsSeparator(folder[start - 1]))
            --start;
        name = folder.substr(start, root - start);
    }
    if (name.empty() || name == L"." || name == L"..")
        name = L"checksums";
    return name + L".md5";
}

bool ListNameUtf8(std::wstring_view name, std::string* utf8) {
    utf8->clear();
    utf8->reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(name[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size()) {
            uint32_t low = static_cast<uint32_t>(name[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return false;
        if (c < 0x80) {
            utf8->push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            utf8->push_back(static_cast<char>(0xC0 | (c >> 6)));
            utf8->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            utf8->push_back(static_cast<char>(0xE0 | (c >> 12)));
            utf8->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            utf8->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            utf8->push_back(static_cast<char>(0xF0 | (c >> 18)));
            utf8->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            utf8->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            utf8->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return true;
}
