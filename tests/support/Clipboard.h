// The real clipboard in tests: put text on it and read it back.
#pragma once

#include <windows.h>

#include <string>

// Opens the clipboard for owner, waiting (bounded) while another window holds it.
bool OpenClipboardWaiting(HWND owner = nullptr);
// Puts bytes as CF_TEXT in a block of exactly their size (no zero is added).
bool PutClipboardBytes(HWND owner, const std::string& bytes);
// Puts text and its terminating zero as CF_TEXT.
bool PutClipboardText(HWND owner, const std::string& text);
// Puts text and its terminating zero as CF_UNICODETEXT, as most programs copy.
bool PutClipboardUnicode(HWND owner, const std::wstring& text);
// The clipboard's CF_TEXT (never read past its block), "<none>" or "<busy>".
std::string ClipboardText(HWND owner = nullptr);
