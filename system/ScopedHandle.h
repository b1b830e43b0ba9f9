// A system handle closed when its owner goes, so that no return path leaks it.
#pragma once

#include <windows.h>

// Traits names the handle type, its empty value and how it is closed.
template <typename Traits> class ScopedHandle {
  public:
    using Handle = typename Traits::Handle;

    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ScopedHandle(ScopedHandle&& other) : handle_(other.handle_) { other.handle_ = Traits::Empty(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() {
        if (*this)
            Traits::Close(handle_);
    }
    explicit operator bool() const { return handle_ != Traits::Empty(); }
    Handle Get() const { return handle_; }

  private:
    Handle handle_;
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using ScopedFile = ScopedHandle<FileHandleTraits>;

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static void Close(Handle handle) { RegCloseKey(handle); }
};
using ScopedRegistryKey = ScopedHandle<RegistryKeyTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { FindClose(handle); }
};
using ScopedFind = ScopedHandle<FindHandleTraits>;

// Brushes, fonts and bitmaps.
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Empty() { return nullptr; }
    static void Close(Handle handle) { DeleteObject(handle); }
};
using ScopedGdiObject = ScopedHandle<GdiObjectTraits>;

// A memory device context from CreateCompatibleDC.
struct MemoryDCTraits {
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static void Close(Handle handle) { DeleteDC(handle); }
};
using ScopedMemoryDC = ScopedHandle<MemoryDCTraits>;

// A window's device context from GetDC, released to that window.
class ScopedWindowDC {
  public:
    explicit ScopedWindowDC(HWND window) : window_(window), context_(GetDC(window)) {}
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    ~ScopedWindowDC() {
        if (context_ != nullptr)
            ReleaseDC(window_, context_);
    }
    HDC Get() const { return context_; }

  private:
    HWND window_;
    HDC context_;
};

// The clipboard, open for the owner while this lives; closed on every path.
class ScopedClipboard {
  public:
    explicit ScopedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;
    ~ScopedClipboard() {
        if (open_)
            CloseClipboard();
    }
    explicit operator bool() const { return open_; }

  private:
    bool open_;
};
