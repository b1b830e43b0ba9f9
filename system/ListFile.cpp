#include "system/ListFile.h"

#include <algorithm>

#include "system/ChecksumList.h"
#include "system/FullPathRule.h"

namespace {

// Lines are written in blocks of about this size.
constexpr size_t kWriteBlock = 256 * 1024;
// Names tried for the temporary file before giving up.
constexpr int kTempNameTries = 64;

// "~cv<8 hex digits>.tmp": short, so that it fits wherever the target's name does.
std::wstring TempName(DWORD seed) {
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring name = L"~cv";
    for (int shift = 28; shift >= 0; shift -= 4)
        name += kDigits[(seed >> shift) & 15];
    return name + L".tmp";
}

} // namespace

ListFileWriter::~ListFileWriter() {
    Abandon();
}

bool ListFileWriter::Begin(const std::wstring& target) {
    Abandon();
    error_ = ERROR_SUCCESS;
    buffer_.clear();
    target_ = LiteralForm(target);
    const size_t cut = target_.find_last_of(L'\\');
    if (cut == std::wstring::npos || cut + 1 == target_.size())
        return Fail(ERROR_INVALID_NAME);
    DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16) ^ GetCurrentThreadId();
    for (int i = 0; i < kTempNameTries; ++i) {
        std::wstring temp = target_.substr(0, cut + 1) + TempName(seed + i * 0x9E3779B9u);
        file_ = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file_ != INVALID_HANDLE_VALUE) {
            temp_ = temp;
            return true;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return Fail(error);
    }
    return Fail(ERROR_FILE_EXISTS);
}

bool ListFileWriter::Add(const uint8_t digest[16], const std::string& name) {
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    AppendListLine(&buffer_, digest, name.data(), name.size());
    return buffer_.size() < kWriteBlock || WriteBuffer();
}

bool ListFileWriter::WriteBuffer() {
    size_t done = 0;
    while (done < buffer_.size()) {
        DWORD part = static_cast<DWORD>(std::min<size_t>(buffer_.size() - done, kWriteBlock));
        DWORD written = 0;
        if (!WriteFile(file_, buffer_.data() + done, part, &written, nullptr))
            return Fail(GetLastError());
        if (written == 0)
            return Fail(ERROR_DISK_FULL);
        done += written;
    }
    buffer_.clear();
    return true;
}

bool ListFileWriter::Commit() {
    if (file_ == INVALID_HANDLE_VALUE)
        return false;
    if (!WriteBuffer())
        return false;
    if (!FlushFileBuffers(file_))
        return Fail(GetLastError());
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!MoveFileExW(temp_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Fail(GetLastError());
    temp_.clear();
    return true;
}

void ListFileWriter::Abandon() {
    if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
    if (!temp_.empty()) {
        DeleteFileW(temp_.c_str());
        temp_.clear();
    }
    buffer_.clear();
}

bool ListFileWriter::Fail(DWORD error) {
    Abandon();
    error_ = error;
    return false;
}
