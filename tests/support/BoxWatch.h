// Message boxes and other owned dialogs in tests: a box blocks the thread that
// shows it, so another thread finds it, reads it and answers or closes it.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

struct FoundBox {
    bool found = false;
    HWND owner = nullptr;
    bool ownerVisible = false; // whether the owner was visible while the box was up
    std::string caption;
    std::string text;      // the message, without the caption and button texts
    int defaultButton = 0; // id of the default push button (IDYES, IDNO, IDOK...)
    bool hasIcon = false;
    HICON icon = nullptr; // comparable (with LoadIcon) only for a box of this process
};

// A visible top-level dialog-class window (a message box or a common dialog)
// of any process, owned by owner; null when there is none. With caption, only
// a window of that caption; without owner (null), any owned window, or with a
// caption also one without owner that is not a main window.
HWND FindOwnedDialog(HWND owner, const char* caption = nullptr);
HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs = 15000);
// A box with this caption (and, when owner is given, this owner).
HWND FindBox(const char* caption, HWND owner = nullptr);
// Reads a box's owner, caption, message text, default button and icon.
FoundBox ReadBox(HWND box);
// Presses the box's default button (closing it).
void CloseBox(HWND box);
// Presses a button (IDOK, IDYES, IDNO...) of a dialog or message box.
void PressButton(HWND dialog, int buttonId);

// Runs work() on this thread, which shows a modal dialog owned by owner, and
// look(dialog) on a second thread once that dialog is visible; keeps pumping
// this thread's messages until look has returned. True when the dialog
// appeared (the second thread gives up once work() has returned).
bool WithOwnedDialog(HWND owner, const std::function<void()>& work,
                     const std::function<void(HWND dialog)>& look);

// As WithOwnedDialog, for a dialog that open() shows: a dialog still open
// when drive returns is cancelled. Returns open()'s result; *found tells
// whether the dialog appeared.
INT_PTR RunModal(HWND owner, const std::function<INT_PTR()>& open,
                 const std::function<void(HWND dialog)>& drive, bool* found = nullptr);

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
