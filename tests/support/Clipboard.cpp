#include "tests/support/Clipboard.h"

#include <cstring>

#include "tests/support/TestSupport.h"

bool OpenClipboardWaiting(HWND owner) {
    return WaitUntil([&] { return OpenClipboard(owner) != FALSE; }, 5000);
}

bool PutClipboardBytes(HWND owner, const std::string& bytes) {
    if (!OpenClipboardWaiting(owner))
        return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    bool ok = false;
    if (block) {
        memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        ok = SetClipboardData(CF_TEXT, block) != nullptr;
        if (!ok)
            GlobalFree(block);
    }
    CloseClipboard();
    return ok;
}

bool PutClipboardText(HWND owner, const std::string& text) {
    return PutClipboardBytes(owner, text + std::string(1, '\0'));
}

std::string ClipboardText(HWND owner) {
    std::string text = "<none>";
    if (!OpenClipboardWaiting(owner))
        return "<busy>";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (bytes) {
        text.assign(bytes, strnlen(bytes, GlobalSize(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}
