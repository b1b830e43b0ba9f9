#include "tests/support/BoxWatch.h"

#include "tests/support/TestSupport.h"
#include "ui/MainWindow.h"

namespace {

struct DialogSearch {
    HWND owner;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    DialogSearch* search = (DialogSearch*)param;
    if (ClassOf(window) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    HWND owner = GetWindow(window, GW_OWNER);
    // A box has an owner, but for one shown before there is a main window,
    // which is found by its caption; the main window itself has none.
    if (!owner && (!search->caption || GetPropA(window, kMainWindowMark)))
        return TRUE;
    if (search->owner && owner != search->owner)
        return TRUE;
    if (search->caption && WindowText(window) != search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM param) {
    FoundBox* box = (FoundBox*)param;
    if (!IsWindowVisible(child))
        return TRUE;
    LONG style = GetWindowLongA(child, GWL_STYLE);
    std::string className = ClassOf(child);
    // The default button carries BS_DEFPUSHBUTTON (DM_GETDEFID is not kept
    // up to date by every system's message box).
    if (lstrcmpiA(className.c_str(), "Button") == 0 && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        box->defaultButton = GetDlgCtrlID(child);
        return TRUE;
    }
    if (lstrcmpiA(className.c_str(), "Static") != 0)
        return TRUE;
    if ((style & SS_TYPEMASK) == SS_ICON) {
        box->icon = (HICON)SendMessageA(child, STM_GETICON, 0, 0);
        box->hasIcon = box->icon != nullptr;
        return TRUE;
    }
    // The message is the box's longest static text.
    std::string text = WindowText(child);
    if (text.size() > box->text.size())
        box->text = text;
    return TRUE;
}

} // namespace

HWND FindOwnedDialog(HWND owner, const char* caption) {
    DialogSearch search = {owner, caption, nullptr};
    EnumWindows(MatchDialog, (LPARAM)&search);
    return search.found;
}

HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindOwnedDialog(owner)) != nullptr; }, timeoutMs);
    return dialog;
}

HWND FindBox(const char* caption, HWND owner) {
    return FindOwnedDialog(owner, caption);
}

FoundBox ReadBox(HWND box) {
    FoundBox result;
    result.found = true;
    result.owner = GetWindow(box, GW_OWNER);
    result.ownerVisible = IsWindowVisible(result.owner) != FALSE;
    result.caption = WindowText(box);
    EnumChildWindows(box, ReadBoxChild, (LPARAM)&result);
    return result;
}

void CloseBox(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

void PressButton(HWND dialog, int buttonId) {
    HWND button = GetDlgItem(dialog, buttonId);
    if (button != nullptr)
        PostMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(dialog, WM_COMMAND, buttonId, 0);
}

bool WithOwnedDialog(HWND owner, const std::function<void()>& work,
                     const std::function<void(HWND dialog)>& look) {
    std::atomic<bool> returned(false);
    std::atomic<bool> looked(false);
    bool appeared = false;
    std::thread helper([&] {
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindOwnedDialog(owner)) != nullptr || returned; });
        if (dialog) {
            appeared = true;
            look(dialog);
        }
        looked = true;
    });
    work();
    returned = true;
    // The helper may still talk to this thread's windows: keep pumping.
    WaitUntil([&] { return looked.load(); }, 60000);
    helper.join();
    return appeared;
}

INT_PTR RunModal(HWND owner, const std::function<INT_PTR()>& open,
                 const std::function<void(HWND dialog)>& drive, bool* found) {
    INT_PTR result = 0;
    bool appeared = WithOwnedDialog(
        owner, [&] { result = open(); },
        [&](HWND dialog) {
            drive(dialog);
            if (IsWindow(dialog))
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    if (found)
        *found = appeared;
    return result;
}

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
