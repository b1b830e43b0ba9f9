// File-system redirection: on 64-bit Windows the system sends a 32-bit
// process's paths under its system folder to the folder of 32-bit files. The
// jobs switch it off around their file calls, so they reach the file the user
// named; only there, because with it off the system cannot load its own DLLs,
// which a box, a beep or any window call may need.
#pragma once

#include <windows.h>

// Redirection off for the calling thread while the object lives, where this
// is a 32-bit process on 64-bit Windows; elsewhere, or when the system lacks
// the switch, it does nothing. Its end keeps the thread's last error, so a
// failed file call can still be reported.
class RedirectionOff {
  public:
    RedirectionOff();
    ~RedirectionOff();
    RedirectionOff(const RedirectionOff&) = delete;
    RedirectionOff& operator=(const RedirectionOff&) = delete;

  private:
    PVOID saved_ = nullptr;
    bool off_ = false;
};
