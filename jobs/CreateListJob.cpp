#include "jobs/CreateListJob.h"

#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "engine/Hashing.h"
#include "system/FolderWalk.h"
#include "system/FullPathRule.h"
#include "system/ListFile.h"
#include "system/ListPath.h"
#include "system/Redirection.h"
#include "system/ScopedHandle.h"
#include "system/WidePath.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"
#include "jobs/ListTable.h"
#include "jobs/VerifyJob.h"
#include "res/resource.h"

namespace {

constexpr const char* kBoxCaption = "Calverin";
constexpr const char* kCountingText = "[  Listing files  ]";
constexpr const char* kFolderFailure = "Could not read folder: %s\n\n%s";
// Between the folder and the target in the job's one path: no file name
// holds a line feed, and no code page uses its byte inside a character.
constexpr char kTargetSeparator = '\n';

void ReportNoFiles(HWND window, const char* folder) {
    int size = std::snprintf(nullptr, 0, kNoFilesFormat, folder) + 1;
    std::vector<char> text(size > 0 ? size : 1, '\0');
    std::snprintf(text.data(), text.size(), kNoFilesFormat, folder);
    ShowMessageBox(window, text.data(), kBoxCaption, MB_ICONINFORMATION | MB_OK);
}

// A box naming target with the system's text for error.
void ReportWriteFailure(HWND window, const std::string& target, DWORD error) {
    SetLastError(error);
    ShowErrorReport(window, kListWriteFailure, target.c_str());
}

std::wstring Wide(const std::string& text) {
    std::wstring wide;
    WideFromText(text.c_str(), CP_ACP, &wide);
    return wide;
}

// Hashes the file at literal (the literal form of its path) into digest;
// false with the last error set when it cannot be opened or read, or on a cancel.
bool HashListedFile(const std::wstring& literal, uint8_t* block, uint8_t digest[16]) {
    RedirectionOff off;
    ScopedFile file(CreateFileW(literal.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return false;
    // A device or a pipe behind a name would block the read or never end.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    return HashOpenFileInBlocks(file.Get(), JobCancelled, block, kVerifyBlockSize, digest);
}

void ShowProgress(HWND status, size_t row, size_t rows) {
    char text[64];
    wsprintfA(text, kListingFormat, static_cast<int>(row), static_cast<int>(rows));
    SetWindowTextA(status, text);
}

void RunCreateJob(HWND window, const std::string& folderPath, const std::string& targetPath) {
    JobState = Listing;
    HWND status = GetDlgItem(window, IDC_STATUS);
    HWND open = GetDlgItem(window, IDC_OPEN);
    const std::wstring folder = Wide(FullPath(folderPath.c_str()));
    const std::wstring target = Wide(FullPath(targetPath.c_str()));
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[kVerifyBlockSize]);
    auto table = std::make_shared<ListTable>();
    if (folder.empty() || target.empty() || !block) {
        ReportWriteFailure(window, targetPath,
                           block ? ERROR_INVALID_NAME : ERROR_NOT_ENOUGH_MEMORY);
        JobState = Idle;
        return;
    }
    ShowJobStarted(status, open, kCountingText);

    bool walked;
    {
        RedirectionOff off;
        walked = table->walk.Walk(folder, target, JobCancelled);
    }
    if (!walked) {
        if (table->walk.Error() != ERROR_CANCELLED) {
            SetLastError(table->walk.Error());
            ShowErrorReport(window, kFolderFailure, folderPath.c_str());
        }
        ShowJobEnded(status, open);
        return;
    }
    if (table->walk.Files() == 0) {
        ShowJobEnded(status, open);
        ReportNoFiles(window, folderPath.c_str());
        return;
    }

    const size_t cut = target.find_last_of(L'\\');
    std::wstring prefix;
    ListNamePrefix(folder, target.substr(0, cut + 1), &prefix);
    std::wstring top = folder;
    if (top.back() != L'\\')
        top += L'\\';
    top = LiteralForm(top);

    table->mode = ListMode::Create;
    table->listPath = targetPath;
    table->listName = target.substr(cut + 1);
    table->rowCount = table->walk.Count();
    table->rows.reset(new (std::nothrow) ListRow[table->rowCount]());
    ListFileWriter writer;
    DWORD failure = ERROR_SUCCESS;
    if (!table->rows) {
        failure = ERROR_NOT_ENOUGH_MEMORY;
    } else {
        RedirectionOff off;
        if (!writer.Begin(target))
            failure = writer.Error();
    }
    if (failure != ERROR_SUCCESS) {
        ShowJobEnded(status, open);
        ReportWriteFailure(window, targetPath, failure);
        return;
    }
    ShowProgress(status, 1, table->rowCount);
    OpenJobListWindow(table);

    size_t added = 0;
    size_t row = 0;
    std::string name;
    for (; row < table->rowCount && !JobCancelled(); ++row) {
        ListRow& result = table->rows[row];
        const std::wstring_view relative = table->walk.Name(row);
        result.result = RowResult::Unreadable;
        result.error = table->walk.EntryError(row);
        if (result.error == ERROR_SUCCESS) {
            std::wstring literal = top;
            literal.append(relative.data(), relative.size());
            if (!HashListedFile(literal, block.get(), result.digest)) {
                result.error = GetLastError();
                if (JobCancelled())
                    break;
            } else if (!ListNameUtf8(prefix + std::wstring(relative), &name)) {
                result.error = ERROR_NO_UNICODE_TRANSLATION;
            } else {
                bool written;
                {
                    RedirectionOff off;
                    written = writer.Add(result.digest, name);
                }
                if (!written) {
                    failure = writer.Error();
                    break;
                }
                result.hasDigest = true;
                result.result = RowResult::Added;
                result.error = ERROR_SUCCESS;
                ++added;
            }
        }
        table->done.store(row + 1);
    }
    const bool stopped = row < table->rowCount;
    if (!stopped && added > 0) {
        RedirectionOff off;
        if (!writer.Commit())
            failure = writer.Error();
    }
    writer.Abandon();
    table->stopped.store(stopped);
    table->ended.store(true);
    ShowJobEnded(status, open);
    if (failure != ERROR_SUCCESS)
        ReportWriteFailure(window, targetPath, failure);
}

} // namespace

bool StartCreateListJob(const char* folder, const char* target) {
    std::string handed = folder;
    handed += kTargetSeparator;
    handed += target;
    return StartJob(handed.c_str(), CreateListThread);
}

DWORD WINAPI CreateListThread(LPVOID jobPath) {
    const std::string handed = TakeJobPath(jobPath);
    if (!WaitForRunToken())
        return 0;
    const size_t cut = handed.find(kTargetSeparator);
    if (cut != std::string::npos)
        RunCreateJob(JobWindow(), handed.substr(0, cut), handed.substr(cut + 1));
    ReleaseRunToken();
    return 0;
}
