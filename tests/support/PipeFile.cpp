#include "tests/support/PipeFile.h"

#include "tests/support/TestSupport.h"

namespace {

// Small, so a write returns only once the reader has taken most of it.
constexpr DWORD kPipeBuffer = 1024;

}  // namespace

PipeFile::PipeFile() {
    static LONG counter;
    char name[MAX_PATH];
    wsprintfA(name, "\\\\.\\pipe\\calverin-test-%lu-%ld", GetCurrentProcessId(),
              InterlockedIncrement(&counter));
    path_ = name;
    event_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    pipe_ = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED,
                             PIPE_TYPE_BYTE | PIPE_WAIT, 1, kPipeBuffer, kPipeBuffer, 0,
                             nullptr);
    connect_.hEvent = event_;
    if (pipe_ != INVALID_HANDLE_VALUE && !ConnectNamedPipe(pipe_, &connect_) &&
        GetLastError() == ERROR_PIPE_CONNECTED)
        connected_ = true;
}

PipeFile::~PipeFile() {
    Close();
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
    if (!IsConnected())
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

void PipeFile::Close() {
    if (pipe_ == INVALID_HANDLE_VALUE)
        return;
    // Bytes already written stay readable; then the reader sees the end.
    CloseHandle(pipe_);
    pipe_ = INVALID_HANDLE_VALUE;
}
