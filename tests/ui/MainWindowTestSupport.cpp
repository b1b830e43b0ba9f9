#include "tests/ui/MainWindowTestSupport.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include "system/OptionalFunctions.h"
#include "ui/ResourceModule.h"
#include "jobs/JobRunner.h"
#include "res/resource.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/TestSupport.h"
#include "ui/FileTooltip.h"
#include "ui/MainWindow.h"

namespace {

const char kReportHead[] = "Could not hash file: ";

void PrepareProcessOnce() {
    static bool done;
    if (done)
        return;
    done = true;
    ResolveOptionalFunctions();
    if (!SlotFree)
        CreateJobEvents();
}

// Nothing may run unless a test lets it.
void TakeRunToken() {
    WaitForSingleObject(RunToken, 0);
}

} // namespace

MainWindowTestBase::MainWindowTestBase() {
    PrepareProcessOnce();
    savedSettings_ = Settings;
    std::memcpy(savedIniPath_, IniPath, sizeof savedIniPath_);
    ResourceModule.own = GetModuleHandleA(nullptr);
    ResourceModule.custom = nullptr;
    Settings = SettingsRecord{};
    Settings.WindowOpacity = 255;
    JobState = Idle;
    TakeRunToken();
}

MainWindowTestBase::~MainWindowTestBase() {
    DestroyMain();
    JobState = Idle;
    Settings = savedSettings_;
    std::memcpy(IniPath, savedIniPath_, sizeof savedIniPath_);
}

HWND MainWindowTestBase::CreateMain() {
    window_ = CreateModuleDialog(MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc);
    if (window_) {
        ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
        PumpMessages();
    }
    return window_;
}

void MainWindowTestBase::DestroyMain() {
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
    window_ = nullptr;
    // The window ends the program's message loop when it goes; here the quit
    // message would end the next modal loop of the test process instead.
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

int MainWindowTestBase::Height() const {
    RECT outer;
    GetWindowRect(window_, &outer);
    return outer.bottom - outer.top;
}

bool MainWindowTestBase::Visible(int control) const {
    return (GetWindowLongA(GetDlgItem(window_, control), GWL_STYLE) & WS_VISIBLE) != 0;
}

std::vector<std::string> MainWindowTestBase::RunQueuedJobs(int n) {
    std::vector<std::string> reports;
    for (int i = 0; i < n; ++i) {
        BoxCloser closer("Error");
        if (i == 0)
            ReleaseRunToken(); // each job passes the token on when it ends
        const FoundBox& box = closer.Result();
        if (!box.found)
            break;
        reports.push_back(box.text);
    }
    // The last job gives the token back; keep it so that nothing else runs.
    WaitUntil([] { return WaitForSingleObject(RunToken, 0) == WAIT_OBJECT_0; });
    return reports;
}

bool MainWindowTestBase::RunQueuedJobsUntil(const std::function<bool()>& done) {
    ReleaseRunToken();
    bool held = WaitUntil(done);
    return WaitUntil([] { return WaitForSingleObject(RunToken, 0) == WAIT_OBJECT_0; }) && held;
}

HGLOBAL MakeDrop(const std::vector<std::string>& paths) {
    std::vector<wchar_t> names;
    for (const std::string& path : paths) {
        int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
        size_t at = names.size();
        names.resize(at + length);
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, names.data() + at, length);
    }
    names.push_back(L'\0');
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    DROPFILES* drop = (DROPFILES*)GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

// (The ANSI getter stops at 80 characters.)
std::string TipText(HWND owner, HWND field) {
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(field);
    if (!SendMessageW(FileTooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)))
        return "<no tool>";
    std::vector<wchar_t> text(32768, L'\0');
    tool.lpszText = text.data();
    SendMessageW(FileTooltip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    std::vector<char> narrow(text.size() * 3, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), -1, narrow.data(), (int)narrow.size(), nullptr,
                        nullptr);
    return narrow.data();
}

std::string ReportedPath(const std::string& reportText) {
    size_t head = sizeof kReportHead - 1;
    if (reportText.compare(0, head, kReportHead) != 0)
        return "";
    size_t end = reportText.find("\n\n", head);
    if (end == std::string::npos)
        end = reportText.find("\r\n\r\n", head);
    return reportText.substr(head, end == std::string::npos ? std::string::npos : end - head);
}
