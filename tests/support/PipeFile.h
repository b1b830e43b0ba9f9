// A named pipe that a program opens in place of a file to hash, so a test
// decides when its bytes arrive and when it ends: the job is then provably
// still running (or provably waiting for a chunk) while the test looks.
//
// Only the gated build opens a pipe as a file (AppDriver::GatedExePath()).
//
//   PipeFile gate;
//   app.Start(gate.Path());              // the job opens the pipe and blocks
//   ASSERT_TRUE(gate.WaitConnected());
//   ... the progress text shows ...
//   gate.Write("abc");
//   gate.End();                          // end of file: checksum of "abc"
#pragma once

#include <windows.h>

#include <string>

class PipeFile {
  public:
    PipeFile();
    ~PipeFile();
    PipeFile(const PipeFile&) = delete;
    PipeFile& operator=(const PipeFile&) = delete;

    // \\.\pipe\... (no spaces; usable on a command line as it is).
    const std::string& Path() const { return path_; }
    // True once a reader has opened the pipe.
    bool IsConnected();
    bool WaitConnected(DWORD timeoutMs = 15000);
    // Writes bytes and returns when the pipe has taken them.
    bool Write(const std::string& bytes);
    // Ends the "file": the reader's next read returns 0 bytes, as at the end
    // of a file (a closed pipe would instead fail the read).
    bool End();

  private:
    std::string path_;
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    HANDLE event_ = nullptr;
    OVERLAPPED connect_ = {};
    bool connected_ = false;
    bool ended_ = false;
};
