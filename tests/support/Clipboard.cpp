#include "tests/support/Clipboard.h"

#include <cstring>

#include "tests/support/TestSupport.h"

bool OpenClipboardWaiting(HWND owner) {
    return WaitUntil([&] { return OpenClipboard(owner) != FALSE; }, 5000);
}

namespace {

bool PutClipboardBlock(HWND owner, UINT format, const void* data, size_t size) {
    if (!OpenClipboardWaiting(owner))
        return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    bool ok = false;
    if (block) {
        memcpy(GlobalLock(block), data, size);
        GlobalUnlock(block);
        ok = SetClipboardData(format, block) != nullptr;
        if (!ok)
            GlobalFree(block);
    }
    CloseClipboard();
    return ok;
}

} // namespace

bool PutClipboardBytes(HWND owner, const std::string& bytes) {
    return PutClipboardBlock(owner, CF_TEXT, bytes.data(), bytes.size());
}

bool PutClipboardUnicode(HWND owner, const std::wstring& text) {
    return PutClipboardBlock(owner, CF_UNICODETEXT, text.c_str(),
                             (text.size() + 1) * sizeof(wchar_t));
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
