#include "tests/support/BoxWatch.h"

#include "tests/support/TestSupport.h"

namespace {

struct BoxSearch {
    const char* caption;
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM param) {
    BoxSearch* search = (BoxSearch*)param;
    char className[64] = "";
    char caption[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (lstrcmpA(className, "#32770") != 0 || lstrcmpA(caption, search->caption) != 0)
        return TRUE;
    if (!IsWindowVisible(window))
        return TRUE;
    HWND owner = GetWindow(window, GW_OWNER);
    // A box always has an owner here; the main window itself has none.
    if (!owner || (search->owner && owner != search->owner))
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    char className[64] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0)
        return TRUE;
    char text[4096] = "";
    SendMessageA(child, WM_GETTEXT, sizeof text, (LPARAM)text);
    std::string* longest = (std::string*)param;
    if (lstrlenA(text) > (int)longest->size())
        *longest = text;
    return TRUE;
}

}  // namespace

HWND FindBox(const char* caption, HWND owner) {
    BoxSearch search = {caption, owner, nullptr};
    EnumWindows(MatchBox, (LPARAM)&search);
    return search.found;
}

FoundBox ReadBox(HWND box) {
    FoundBox result;
    result.found = true;
    result.owner = GetWindow(box, GW_OWNER);
    result.ownerVisible = IsWindowVisible(result.owner) != FALSE;
    char caption[256] = "";
    GetWindowTextA(box, caption, sizeof caption);
    result.caption = caption;
    // The message is the box's longest static text (the icon's static is empty).
    EnumChildWindows(box, CollectStaticText, (LPARAM)&result.text);
    return result;
}

void CloseBox(HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }

BoxCloser::BoxCloser(const char* caption, DWORD timeoutMs)
    : caption_(caption), timeoutMs_(timeoutMs) {
    thread_ = std::thread([this] {
        struct MarkDone {
            std::atomic<bool>& done;
            ~MarkDone() { done = true; }
        } markDone{done_};
        HWND box = nullptr;
        if (!WaitUntil([&] { return stop_ || (box = FindBox(caption_.c_str())) != nullptr; },
                       timeoutMs_) ||
            !box)
            return;
        result_ = ReadBox(box);
        CloseBox(box);
        // Gone before the next watch could mistake it for a new box.
        WaitUntil([box] { return !IsWindow(box); }, timeoutMs_);
    });
}

BoxCloser::~BoxCloser() {
    if (thread_.joinable())
        thread_.join();
}

const FoundBox& BoxCloser::Stop() {
    stop_ = true;
    return Result();
}

const FoundBox& BoxCloser::Result() {
    if (thread_.joinable()) {
        WaitUntil([this] { return done_.load(); }, timeoutMs_ + 5000);
        thread_.join();
    }
    return result_;
}
