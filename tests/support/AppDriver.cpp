#include "tests/support/AppDriver.h"

#include "res/resource.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/TestSupport.h"

#include <wincrypt.h>

#include <cstdio>
#include <vector>

namespace {

constexpr const char* kDialogClass = "#32770";
constexpr const char* kMainCaption = "Calverin";

bool StartProcess(const std::string& exePath, const std::string& arguments,
                  PROCESS_INFORMATION* info) {
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          ExeFolder().c_str(), &startup, info) != FALSE;
}

struct WindowSearch {
    DWORD processId;
    HWND owner; // null: the main window is sought
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) ||
        ClassOf(window) != kDialogClass)
        return TRUE;
    HWND owner = GetWindow(window, GW_OWNER);
    if (search->owner == nullptr) {
        if (owner != nullptr || WindowText(window) != kMainCaption)
            return TRUE;
    } else if (owner != search->owner) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD processId, HWND owner) {
    WindowSearch search = {processId, owner, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

std::string ReferenceMd5(const std::string& bytes) {
    // One provider for the whole run: acquiring it is slow under Wine.
    static HCRYPTPROV provider = 0;
    if (provider == 0 &&
        !CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
        return std::string();
    std::string result;
    HCRYPTHASH hash = 0;
    if (!CryptCreateHash(provider, CALG_MD5, 0, 0, &hash))
        return result;
    BYTE digest[16];
    DWORD length = sizeof digest;
    if (CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), (DWORD)bytes.size(), 0) &&
        CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0)) {
        char hex[3];
        for (DWORD i = 0; i < length; ++i) {
            snprintf(hex, sizeof hex, "%02x", digest[i]);
            result += hex;
        }
    }
    CryptDestroyHash(hash);
    return result;
}

AppDriver::AppDriver(const std::string& options, const std::string& exePath) : exePath_(exePath) {
    iniPath_ = exePath.substr(0, exePath.find_last_of('.')) + ".ini";
    hadIni_ = ReadFileBytes(iniPath_, &savedIni_);
    std::string ini = "[OPTIONS]\r\n";
    if (options.find("GetFileOnStart=") == std::string::npos)
        ini += "GetFileOnStart=0\r\n";
    for (char c : options) {
        if (c == '\n')
            ini += "\r\n";
        else if (c != '\r')
            ini += c;
    }
    if (!options.empty() && options.back() != '\n')
        ini += "\r\n";
    WriteFileBytes(iniPath_, ini);
}

AppDriver::~AppDriver() {
    Kill();
    if (hadIni_)
        WriteFileBytes(iniPath_, savedIni_);
    else
        DeleteFileA(iniPath_.c_str());
}

std::string AppDriver::ExePath() {
    return ExeFolder() + "\\Calverin.exe";
}

std::string AppDriver::GatedExePath() {
    return ExeFolder() + "\\CalverinGated.exe";
}

bool AppDriver::Start(const std::string& arguments, DWORD timeoutMs) {
    Kill();
    if (!StartProcess(exePath_, arguments, &process_))
        return false;
    return WaitUntil(
        [&] {
            window_ = FindProcessWindow(process_.dwProcessId, nullptr);
            return window_ != nullptr;
        },
        timeoutMs);
}

int AppDriver::RunOther(const std::string& arguments, DWORD timeoutMs, const std::string& exePath) {
    PROCESS_INFORMATION other = {};
    if (!StartProcess(exePath, arguments, &other))
        return -1;
    DWORD exitCode = (DWORD)-1;
    if (WaitUntil([&] { return WaitForSingleObject(other.hProcess, 0) == WAIT_OBJECT_0; },
                  timeoutMs))
        GetExitCodeProcess(other.hProcess, &exitCode);
    else
        TerminateProcess(other.hProcess, 1);
    WaitForSingleObject(other.hProcess, kAppWait);
    CloseHandle(other.hThread);
    CloseHandle(other.hProcess);
    return (int)exitCode;
}

void AppDriver::Kill() {
    if (process_.hProcess == nullptr)
        return;
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, kAppWait);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = PROCESS_INFORMATION();
    window_ = nullptr;
}

bool AppDriver::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (process_.hProcess == nullptr)
        return false;
    if (!WaitUntil([&] { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; },
                   timeoutMs))
        return false;
    if (exitCode != nullptr)
        GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

HWND AppDriver::Control(int id) const {
    return GetDlgItem(window_, id);
}

std::string AppDriver::Text(int id) const {
    return WindowText(Control(id));
}

bool AppDriver::IsEnabled(int id) const {
    return IsWindowEnabled(Control(id)) != FALSE;
}

bool AppDriver::IsVisible(int id) const {
    return IsWindowVisible(Control(id)) != FALSE;
}

void AppDriver::SetText(int id, const std::string& text) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_NORMAL, kAppWait, &result);
}

void AppDriver::Click(int id) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, kAppWait, &result);
}

void AppDriver::Command(int id) const {
    PostMessageA(window_, WM_COMMAND, id, 0);
}

bool AppDriver::HandOver(const std::string& commandLine, DWORD timeoutMs) const {
    COPYDATASTRUCT block = {};
    block.cbData = (DWORD)commandLine.size() + 1;
    block.lpData = const_cast<char*>(commandLine.c_str());
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block),
                               SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool AppDriver::WaitForText(int id, const std::string& text, DWORD timeoutMs) const {
    return WaitUntil([&] { return Text(id) == text; }, timeoutMs);
}

bool AppDriver::WaitForIdle(DWORD timeoutMs) const {
    return WaitUntil(
        [&] {
            return Text(IDC_STATUS) == "Calverin" && !IsEnabled(IDC_STATUS) && IsEnabled(IDC_OPEN);
        },
        timeoutMs);
}

HWND AppDriver::FindOwnedDialog() const {
    return window_ != nullptr ? ::FindOwnedDialog(window_) : nullptr;
}

HWND AppDriver::WaitForOwnedDialog(DWORD timeoutMs) const {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindOwnedDialog()) != nullptr; }, timeoutMs);
    return dialog;
}

bool AppDriver::WaitForNoOwnedDialog(DWORD timeoutMs) const {
    return WaitUntil([&] { return FindOwnedDialog() == nullptr; }, timeoutMs);
}

COLORREF AppDriver::Field2Pixel() const {
    RECT rect;
    if (!GetWindowRect(Control(IDC_HASH2), &rect))
        return CLR_INVALID;
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, rect.left + 3, rect.top + 3);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool AppDriver::WaitForField2Colour(COLORREF colour, DWORD timeoutMs) const {
    return WaitUntil([&] { return Field2Pixel() == colour; }, timeoutMs);
}

long AppDriver::PingMs(DWORD timeoutMs) const {
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result))
        return -1;
    QueryPerformanceCounter(&after);
    return (long)((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart);
}
