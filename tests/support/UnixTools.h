// Unix programs of the test machine, run from the Wine tests: xdotool for real
// keyboard and mouse input, ImageMagick for screenshots, and a counter of the
// X server's bells (what MessageBeep sounds under Wine). Wine starts a Unix
// executable given to CreateProcess natively, with the display of the tests.
#pragma once

#include <windows.h>

#include <string>

// Unix path of a Windows path; empty when Wine cannot tell.
std::string UnixPathOf(const std::string& windowsPath);

// Runs a /bin/sh command line to its end. Returns its exit status, or -1 when
// it could not start or did not end within timeoutMs. output (optional)
// receives what it wrote to stdout and stderr.
int RunUnix(const std::string& command, std::string* output = nullptr, DWORD timeoutMs = 15000);

// "xdotool " + arguments; true on exit status 0.
bool Xdotool(const std::string& arguments);

// Counts XKB bell notifications from its start until it goes. Wine queues a
// bell on its drawing connection; a process's own bells reach the server at
// its next drawing or when DeliverOwnBells asks, which WaitForCount does.
class BellCounter {
  public:
    static void DeliverOwnBells();

    BellCounter();
    ~BellCounter();
    BellCounter(const BellCounter&) = delete;
    BellCounter& operator=(const BellCounter&) = delete;
    // Listening; false when the listener did not come up.
    bool Ready(DWORD timeoutMs = 15000) const;
    // Bells heard so far, or -1 when unknown.
    int Count() const;
    bool WaitForCount(int count, DWORD timeoutMs = 5000) const;

  private:
    std::string folder_;
};
