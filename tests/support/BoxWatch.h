// Message boxes in tests: a box blocks the thread that shows it, so another
// thread finds it, reads it and closes it.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

struct FoundBox {
    bool found = false;
    HWND owner = nullptr;
    bool ownerVisible = false;  // whether the owner was visible while the box was up
    std::string caption;
    std::string text;  // the message, without the caption and button texts
};

// Finds a top-level dialog-class window with this caption (and, when owner is
// given, this owner), visible, of any process. Null when there is none.
HWND FindBox(const char* caption, HWND owner = nullptr);
// Reads a box's owner, caption and message text.
FoundBox ReadBox(HWND box);
// Presses the box's default button (closing it).
void CloseBox(HWND box);

// Watches from its own thread for one box with the caption, reads it and
// closes it; Result() waits for the watch to end (bounded by timeoutMs),
// pumping the caller's messages meanwhile: a box owned by the caller's window
// but shown by another thread needs the caller to answer while it opens.
class BoxCloser {
public:
    explicit BoxCloser(const char* caption, DWORD timeoutMs = 10000);
    ~BoxCloser();
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;
    const FoundBox& Result();
    // Ends the watch at once: for a box that must not appear, whose absence
    // the caller has already seen (the call that would show it returned).
    const FoundBox& Stop();

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::string caption_;
    DWORD timeoutMs_;
    FoundBox result_;
    std::thread thread_;
};
