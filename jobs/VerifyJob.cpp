#include "jobs/VerifyJob.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "engine/Hashing.h"
#include "system/ChecksumList.h"
#include "system/ListPath.h"
#include "system/Redirection.h"
#include "system/WidePath.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"
#include "jobs/ListTable.h"
#include "res/resource.h"

namespace {

constexpr const char* kBoxCaption = "Calverin";
// Characters no Windows file name holds; a name with one is refused rather
// than opened as something else (a colon would open an alternate stream).
constexpr wchar_t kReservedCharacters[] = L"<>:\"|?*";
// Stands for a handle that is no file on a disk (a pipe, a device).
constexpr DWORD kNotDiskFile = ERROR_NOT_SUPPORTED;

// The whole list file into bytes; false with the last error set.
bool ReadListFile(const char* path, std::vector<char>* bytes) {
    RedirectionOff off;
    ScopedFile file = OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file)
        return false;
    // A pipe or a device would block the read or never end.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        SetLastError(kNotDiskFile);
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size))
        return false;
    if (static_cast<unsigned long long>(size.QuadPart) >= static_cast<size_t>(-1) / 2) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    const size_t total = static_cast<size_t>(size.QuadPart);
    char* data = new (std::nothrow) char[total + 1];
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    std::unique_ptr<char[]> owned(data);
    size_t got = 0;
    while (got < total) {
        DWORD want = total - got > (1u << 30) ? (1u << 30) : static_cast<DWORD>(total - got);
        DWORD read = 0;
        if (!ReadFile(file.Get(), data + got, want, &read, nullptr))
            return false;
        if (read == 0)
            break; // the file shrank meanwhile: what is there is the list
        got += read;
    }
    bytes->assign(data, data + got);
    return true;
}

// A whole-list failure: the box names the list and the system's text.
void ReportListFailure(HWND window, const char* path) {
    ShowErrorReport(window, kListReadFailure, path);
}

void ReportNoEntries(HWND window, const char* path) {
    int size = std::snprintf(nullptr, 0, kNoEntriesFormat, path) + 1;
    std::vector<char> text(size > 0 ? size : 1, '\0');
    std::snprintf(text.data(), text.size(), kNoEntriesFormat, path);
    ShowMessageBox(window, text.data(), kBoxCaption, MB_ICONERROR | MB_OK);
}

// The folder that holds the list, as a wide full path; empty when the
// list's path cannot be made full.
std::wstring ListFolder(const char* path) {
    std::string full = FullPath(path);
    std::wstring wide;
    if (full.empty() || !WideFromText(full.c_str(), CP_ACP, &wide))
        return std::wstring();
    size_t cut = wide.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : wide.substr(0, cut + 1);
}

bool HoldsReservedCharacter(std::wstring_view name) {
    for (std::wstring_view part : ListNameParts(name)) {
        for (wchar_t c : part) {
            if (c < L' ' || wcschr(kReservedCharacters, c))
                return true;
        }
    }
    return false;
}

// The path, in the program's text, that the entry's name means; false with
// the last error set for a name that no Windows file can have.
bool EntryPath(const std::wstring& folder, const std::wstring& name, std::string* path) {
    const bool asFolder = !name.empty() && (name.back() == L'/' || name.back() == L'\\');
    if (name.empty() || asFolder || HoldsReservedCharacter(name)) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    std::wstring full;
    if (!ListNameFullPath(folder, name, &full)) {
        // X:name: only the system knows drive X's current folder.
        *path = FullPath(AnsiFromWide(name.c_str()).c_str());
        return !path->empty();
    }
    *path = AnsiFromWide(full.c_str());
    // A character the code page cannot hold would name another file.
    std::wstring back;
    if (!WideFromText(path->c_str(), CP_ACP, &back) || back != full) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    return true;
}

// Checks one row: its result, and its MD5 when the file was read. False when
// the job was stopped meanwhile (the row stays unchecked).
bool CheckRow(ListTable* table, size_t index, const std::wstring& folder, uint8_t* block) {
    ListRow& row = table->rows[index];
    std::wstring name;
    RowName(*table, index, &name);
    std::string path;
    bool read = false;
    DWORD error = ERROR_SUCCESS;
    bool opened = false;
    if (EntryPath(folder, name, &path)) {
        RedirectionOff off;
        ScopedFile file = OpenPath(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
        opened = static_cast<bool>(file);
        if (opened && GetFileType(file.Get()) != FILE_TYPE_DISK)
            SetLastError(kNotDiskFile);
        else if (opened)
            read = HashOpenFileInBlocks(file.Get(), JobCancelled, block, kVerifyBlockSize,
                                        row.digest);
        error = GetLastError();
    } else {
        error = GetLastError();
    }
    if (!read && JobCancelled())
        return false;
    row.hasDigest = read;
    row.error = read ? ERROR_SUCCESS : error;
    if (read) {
        row.result = memcmp(row.digest, table->list.Entry(index).digest, sizeof row.digest) == 0
                         ? RowResult::Ok
                         : RowResult::Failed;
    } else {
        const bool missing =
            !opened && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND);
        row.result = missing ? RowResult::Missing : RowResult::Unreadable;
    }
    return true;
}

// Reads the list into the table; false after the box that tells why not.
bool LoadTable(HWND window, ListTable* table) {
    const char* path = table->listPath.c_str();
    std::vector<char> bytes;
    if (!ReadListFile(path, &bytes)) {
        ReportListFailure(window, path);
        return false;
    }
    if (!table->list.Read(bytes.data(), bytes.size())) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        ReportListFailure(window, path);
        return false;
    }
    if (table->list.Count() == 0) {
        ReportNoEntries(window, path);
        return false;
    }
    table->rowCount = table->list.Count();
    table->rows.reset(new (std::nothrow) ListRow[table->rowCount]());
    if (!table->rows) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        ReportListFailure(window, path);
        return false;
    }
    std::wstring wide;
    WideFromText(path, CP_ACP, &wide);
    size_t cut = wide.find_last_of(L"\\/:");
    table->listName = cut == std::wstring::npos ? wide : wide.substr(cut + 1);
    return true;
}

void RunVerifyJob(HWND window, const char* path) {
    JobState = Verifying;
    auto table = std::make_shared<ListTable>();
    table->listPath = path;
    const std::wstring folder = ListFolder(path);
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[kVerifyBlockSize]);
    if (!block || folder.empty()) {
        if (!block)
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        ReportListFailure(window, path);
        JobState = Idle;
        return;
    }
    if (!LoadTable(window, table.get())) {
        JobState = Idle;
        return;
    }

    HWND status = GetDlgItem(window, IDC_STATUS);
    HWND open = GetDlgItem(window, IDC_OPEN);
    char text[64];
    wsprintfA(text, kVerifyingFormat, 1, static_cast<int>(table->rowCount));
    ShowJobStarted(status, open, text);
    OpenJobListWindow(table);

    size_t index = 0;
    for (; index < table->rowCount && !JobCancelled(); ++index) {
        if (!CheckRow(table.get(), index, folder, block.get()))
            break;
        table->done.store(index + 1);
    }
    table->stopped.store(index < table->rowCount);
    table->ended.store(true);
    ShowJobEnded(status, open);
}

} // namespace

bool StartVerifyJob(const char* path) {
    return StartJob(path, VerifyListThread);
}

DWORD WINAPI VerifyListThread(LPVOID jobPath) {
    const std::string path = TakeJobPath(jobPath);
    if (!WaitForRunToken())
        return 0;
    RunVerifyJob(JobWindow(), path.c_str());
    ReleaseRunToken();
    return 0;
}
