// How a path is made full without the system's own rewriting, which drops
// trailing dots and blanks from names and turns names such as nul.txt into
// devices, so that the full path names exactly the file that was named.
#pragma once

#include <string>

// The prefix of the system's literal path form, which no call rewrites.
constexpr wchar_t kLiteralPrefix[] = L"\\\\?\\";

enum class PathRoot {
    Literal,       // "\\?\..." or "\\.\...": taken as it is
    Unc,           // "\\server\share\..."
    Drive,         // "X:\..."
    DriveRelative, // "X:name": against that drive's current folder
    RootRelative,  // "\name": against the current folder's root
    Relative       // "name": against the current folder
};

PathRoot RootOf(const std::wstring& path);

// path made full against base, which is the current folder (for a
// DriveRelative path, the current folder of its drive) in full form.
// Slashes become backslashes, runs of them one, "." components go and ".."
// components take the one before them away (never the root); every other
// name stays exactly as written. Literal paths come back unchanged. Empty
// when path is empty or base is needed but not full.
std::wstring MakeFullPath(const std::wstring& path, const std::wstring& base);

// The literal form of a full path: "\\?\X:\..." or "\\?\UNC\server\share\...";
// a literal path stays as it is.
std::wstring LiteralForm(const std::wstring& fullPath);
