#include "system/FolderWalk.h"

#include <algorithm>

#include "system/FullPathRule.h"
#include "system/ListPath.h"
#include "system/ScopedHandle.h"
#include "system/WidePath.h"

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

bool IsDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Names as the file system matches them: without regard to the case of any letter.
bool SameFileName(std::wstring a, std::wstring b) {
    if (a.size() != b.size())
        return false;
    if (a.empty())
        return true;
    CharUpperBuffW(&a[0], static_cast<DWORD>(a.size()));
    CharUpperBuffW(&b[0], static_cast<DWORD>(b.size()));
    return a == b;
}

} // namespace

FolderWalk::Identity FolderWalk::Identify(const std::wstring& literal, size_t parent) {
    Identity identity = {false, 0, 0, 0, parent};
    // With its backslash the path names a folder, a drive's root too (without
    // it, "\\?\X:" would be the volume itself).
    ScopedFile handle(CreateFileW(literal.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (handle && GetFileInformationByHandle(handle.Get(), &info))
        identity = {true, info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow,
                    parent};
    return identity;
}

bool FolderWalk::InsideItself(const Identity& folder) const {
    if (!folder.known)
        return false;
    for (size_t above = folder.parent; above != kNone; above = folders_[above].parent) {
        const Identity& outer = folders_[above];
        if (outer.known && outer.volume == folder.volume && outer.indexHigh == folder.indexHigh &&
            outer.indexLow == folder.indexLow)
            return true;
    }
    return false;
}

void FolderWalk::Add(std::wstring_view name, DWORD error) {
    entries_.push_back(Entry{names_.size(), static_cast<uint32_t>(name.size()), error});
    names_.insert(names_.end(), name.begin(), name.end());
    if (error == ERROR_SUCCESS)
        ++files_;
}

bool FolderWalk::Walk(const std::wstring& folder, const std::wstring& leaveOut,
                      CancelCheck cancelled) {
    entries_.clear();
    names_.clear();
    folders_.clear();
    files_ = 0;
    error_ = ERROR_SUCCESS;

    std::wstring top = LiteralForm(folder);
    while (!top.empty() && top.back() == L'\\')
        top.pop_back();
    top += L'\\';

    // The list's own file is known by its folder's identity and its name.
    Identity leaveFolder = {false, 0, 0, 0, kNone};
    std::wstring leaveName;
    const size_t cut = leaveOut.find_last_of(L"\\/");
    if (cut != std::wstring::npos) {
        leaveName = leaveOut.substr(cut + 1);
        leaveFolder = Identify(LiteralForm(leaveOut.substr(0, cut + 1)), kNone);
    }

    struct Pending {
        std::wstring relative; // "" or ending in '\'
        size_t parent;
    };
    std::vector<Pending> pending;
    pending.push_back(Pending{std::wstring(), kNone});
    while (!pending.empty()) {
        Pending next = std::move(pending.back());
        pending.pop_back();
        const bool atTop = next.relative.empty();
        std::wstring pattern = top + next.relative;
        // The system counts a path's length in 16 bits of bytes: a longer one
        // would wrap around rather than fail.
        if (pattern.size() + 2 >= static_cast<size_t>(kWidePathSize)) {
            Add(next.relative, ERROR_FILENAME_EXCED_RANGE);
            continue;
        }
        const Identity identity = Identify(pattern, next.parent);
        if (InsideItself(identity))
            continue;
        folders_.push_back(identity);
        const size_t self = folders_.size() - 1;
        const bool listHere = leaveFolder.known && identity.known &&
                              identity.volume == leaveFolder.volume &&
                              identity.indexHigh == leaveFolder.indexHigh &&
                              identity.indexLow == leaveFolder.indexLow;

        pattern += L'*';
        WIN32_FIND_DATAW entry;
        ScopedFind find(FindFirstFileW(pattern.c_str(), &entry));
        if (!find) {
            DWORD error = GetLastError();
            // A drive root has no "." and ".." entries: an empty one lists as
            // not found.
            if (error == ERROR_FILE_NOT_FOUND)
                continue;
            if (atTop) {
                error_ = error;
                return false;
            }
            Add(next.relative, error);
            continue;
        }
        do {
            if (cancelled && cancelled()) {
                error_ = ERROR_CANCELLED;
                return false;
            }
            if (IsDot(entry.cFileName))
                continue;
            std::wstring name = next.relative + entry.cFileName;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                pending.push_back(Pending{name + L'\\', self});
            else if (!listHere || !SameFileName(entry.cFileName, leaveName))
                Add(name, ERROR_SUCCESS);
        } while (FindNextFileW(find.Get(), &entry));
        DWORD error = GetLastError();
        if (error != ERROR_NO_MORE_FILES) {
            if (atTop) {
                error_ = error;
                return false;
            }
            Add(next.relative, error);
        }
    }

    std::sort(entries_.begin(), entries_.end(), [this](const Entry& a, const Entry& b) {
        return CompareListPaths(std::wstring_view(names_.data() + a.name, a.length),
                                std::wstring_view(names_.data() + b.name, b.length)) < 0;
    });
    return true;
}
