#include "tests/support/TestSupport.h"

#include <vector>

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string ExeFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 15000, &length))
        return std::string();
    // Room for three bytes per unit: the length may count the text's UTF-16
    // units rather than its UTF-8 bytes.
    std::vector<char> text(length * 3 + 1, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), (LPARAM)text.data(), SMTO_NORMAL,
                             15000, &got))
        return std::string();
    return std::string(text.data(), got < text.size() ? got : 0);
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string SystemText(DWORD error) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
    return std::string(text, length);
}

HWND CreateHostDialog(DLGPROC proc) {
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } empty = {};
    empty.dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    empty.dialog.cx = 240;
    empty.dialog.cy = 80;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &empty.dialog, nullptr, proc, 0);
}

namespace {

std::wstring LongForm(const std::string& path) {
    std::wstring wide(path.size(), L'\0');
    int length =
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), (int)path.size(), &wide[0], (int)wide.size());
    wide.resize(length);
    return L"\\\\?\\" + wide;
}

// A full path in its "\\?\" form, for any length and any name.
std::wstring ForWideCall(const std::string& path) {
    if (path.size() > 2 && path[1] == ':')
        return LongForm(path);
    return LongForm(path).substr(4);
}

} // namespace

bool ReadFileBytes(const std::string& path, std::string* bytes) {
    HANDLE file = CreateFileW(ForWideCall(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes->clear();
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes->append(chunk, read);
    CloseHandle(file);
    return true;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(ForWideCall(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string UniqueTempPath(const char* prefix, const char* suffix) {
    static LONG counter;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    wsprintfA(name, "%s%s-%lu-%ld%s", temp, prefix, GetCurrentProcessId(),
              InterlockedIncrement(&counter), suffix);
    return name;
}

namespace {

// Bottom-up removal through "\\?\" paths, which have no MAX_PATH limit.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(listing, &entry));
        FindClose(listing);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

bool MakeFolderLong(const std::string& path) {
    return CreateDirectoryW(LongForm(path).c_str(), nullptr) != 0;
}

ScratchFolder::ScratchFolder(Place place) {
    if (place == kDriveRoot) {
        static int counter;
        char name[32];
        wsprintfA(name, "C:\\cv%lx-%d", GetCurrentProcessId() & 0xFFFF, ++counter);
        path_ = name;
        RemoveTree(LongForm(path_)); // left over by a run that crashed
    } else {
        path_ = UniqueTempPath("calverin-test");
    }
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(LongForm(path_));
}

std::string ScratchFolder::WriteFile(const std::string& name, const std::string& bytes) const {
    std::string full = path_ + "\\" + name;
    WriteFileBytes(full, bytes);
    return full;
}
