#include "tests/support/PipeFile.h"

#include "tests/support/TestSupport.h"

namespace {

// Small, so a write returns only once the reader has taken most of it.
constexpr DWORD kPipeBuffer = 1024;

// Each Write is one message; a reader in the default byte read mode still
// takes it in chunks of any size, and an empty message reads as 0 bytes.
constexpr DWORD kPipeMode = PIPE_TYPE_MESSAGE | PIPE_WAIT;

} // namespace

PipeFile::PipeFile() {
    static LONG counter;
    char name[MAX_PATH];
    wsprintfA(name, "\\\\.\\pipe\\calverin-test-%lu-%ld", GetCurrentProcessId(),
              InterlockedIncrement(&counter));
    path_ = name;
    event_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    pipe_ = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED, kPipeMode, 1,
                             kPipeBuffer, kPipeBuffer, 0, nullptr);
    connect_.hEvent = event_;
    if (pipe_ != INVALID_HANDLE_VALUE && !ConnectNamedPipe(pipe_, &connect_) &&
        GetLastError() == ERROR_PIPE_CONNECTED)
        connected_ = true;
}

PipeFile::~PipeFile() {
    if (pipe_ != INVALID_HANDLE_VALUE)
        CloseHandle(pipe_);
    if (event_ != nullptr)
        CloseHandle(event_);
}

bool PipeFile::IsConnected() {
    if (!connected_ && pipe_ != INVALID_HANDLE_VALUE)
        connected_ = WaitForSingleObject(event_, 0) == WAIT_OBJECT_0;
    return connected_;
}

bool PipeFile::WaitConnected(DWORD timeoutMs) {
    return WaitUntil([&] { return IsConnected(); }, timeoutMs);
}

bool PipeFile::Write(const std::string& bytes) {
    if (!IsConnected() || ended_)
        return false;
    OVERLAPPED write = {};
    write.hEvent = event_;
    ResetEvent(event_);
    DWORD written = 0;
    if (!WriteFile(pipe_, bytes.data(), (DWORD)bytes.size(), nullptr, &write) &&
        GetLastError() != ERROR_IO_PENDING)
        return false;
    // Bounded: a reader that stopped reading must not hang the test.
    if (!WaitUntil([&] { return WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }, 15000)) {
        CancelIo(pipe_);
        return false;
    }
    return GetOverlappedResult(pipe_, &write, &written, FALSE) && written == bytes.size();
}

bool PipeFile::End() {
    if (ended_)
        return true;
    ended_ = Write(std::string());
    return ended_;
}
