// Start-up and the single-instance hand-off: the lookup of the main window in
// the test process, and the real Calverin.exe started as separate processes.
#include "app/Startup.h"

#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "jobs/JobRunner.h"
#include "res/resource.h"
#include "tests/support/AppDriver.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/MainWindowTestSupport.h"
#include "ui/MainWindow.h"

namespace {

constexpr DWORD kProcessTimeoutMs = 20000;

std::string ReadWholeFile(const std::string& path, bool* exists) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    *exists = file != INVALID_HANDLE_VALUE;
    std::string bytes;
    if (!*exists)
        return bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
}

// Calverin.ini beside Calverin.exe for the runs of one test; put back as it
// was (or removed) afterwards.
class ProgramIni {
  public:
    explicit ProgramIni(const std::string& contents) : path_(ExeFolder() + "\\Calverin.ini") {
        saved_ = ReadWholeFile(path_, &existed_);
        WriteWholeFile(path_, contents);
    }
    ~ProgramIni() {
        if (existed_)
            WriteWholeFile(path_, saved_);
        else
            DeleteFileA(path_.c_str());
    }

  private:
    std::string path_;
    std::string saved_;
    bool existed_ = false;
};

const char kQuietIni[] =
    "[OPTIONS]\r\nGetFileOnStart=0\r\nStartInTopMost=0\r\nStartInFullMode=0\r\n"
    "RememberPosition=0\r\nTransparent=0\r\nMultipleFiles=2\r\n";

std::wstring Widen(const std::string& text) {
    std::vector<wchar_t> wide(text.size() + 1);
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), (int)wide.size());
    return wide.data();
}

// A whole command line, program name included.
struct CommandLine {
    std::wstring text;
};

class Program {
  public:
    // Starts Calverin.exe with the arguments (already quoted as needed) in
    // folder, by default the program's own.
    explicit Program(const std::string& arguments, const std::string& folder = ExeFolder())
        : Program(Widen(arguments), folder) {}
    explicit Program(const std::wstring& arguments, const std::string& folder = ExeFolder())
        : Program(CommandLine{L"\"" + Widen(ExeFolder()) + L"\\Calverin.exe\"" +
                              (arguments.empty() ? std::wstring() : L" " + arguments)},
                  folder) {}
    // Or runs a whole command line.
    explicit Program(const CommandLine& command, const std::string& folder = ExeFolder()) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        std::vector<wchar_t> line(command.text.begin(), command.text.end());
        line.push_back(L'\0');
        started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  Widen(folder).c_str(), &startup, &info_) != FALSE;
    }
    ~Program() {
        if (!started_)
            return;
        if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, kProcessTimeoutMs);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    // Waits (bounded, answering messages sent to this thread's windows) for
    // the end; the exit code, or -1 when it did not end.
    int ExitCode() {
        if (!WaitUntil([this] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; },
                       kProcessTimeoutMs))
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return (int)code;
    }
    // Its main window once it exists (bounded wait), or null.
    HWND MainWindowOf() const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                HWND candidate = FindMainWindow();
                DWORD owner = 0;
                GetWindowThreadProcessId(candidate, &owner);
                found = (candidate && owner == info_.dwProcessId) ? candidate : nullptr;
                return found != nullptr;
            },
            kProcessTimeoutMs);
        return found;
    }

  private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

// Any Calverin.exe that this test process started and that is still running
// (a first instance left by a failed test) is ended, so tests do not leak
// into each other.
void EndLeftoverPrograms() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "Calverin.exe") != 0 ||
            entry.th32ParentProcessID != GetCurrentProcessId())
            continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (process) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, kProcessTimeoutMs);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

// Shows a message box captioned "Calverin" owned by owner from another
// thread, as the program's own boxes are; closed when the object goes.
class OwnedCalverinBox {
  public:
    explicit OwnedCalverinBox(HWND owner)
        : thread_([owner] { MessageBoxA(owner, "A box of the program", "Calverin", MB_OK); }) {
        WaitUntil([&] { return (box_ = FindBox("Calverin", owner)) != nullptr; });
    }
    ~OwnedCalverinBox() {
        if (box_)
            CloseBox(box_);
        WaitUntil([this] { return !IsWindow(box_); });
        thread_.join();
    }
    HWND Box() const { return box_; }

  private:
    std::thread thread_;
    HWND box_ = nullptr;
};

// Handles of the object over all processes (ObjectBasicInformation), or 0.
ULONG HandleCount(HANDLE object) {
    using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    QueryObject query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    struct {
        ULONG attributes, access, handles, pointers, reserved[10];
    } info = {};
    if (!query || query(object, 0, &info, sizeof info, nullptr) != 0)
        return 0;
    return info.handles;
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

} // namespace

class StartupTest : public testing::Test, protected MainWindowTestBase {
  protected:
    void TearDown() override { EndLeftoverPrograms(); }
};

TEST_F(StartupTest, FindMainWindowSkipsTheProgramsOwnMessageBoxes) {
    EXPECT_EQ(FindMainWindow(), nullptr);
    ASSERT_TRUE(CreateMain());
    EXPECT_EQ(FindMainWindow(), window_);
    OwnedCalverinBox box(window_);
    ASSERT_NE(box.Box(), nullptr);
    EXPECT_EQ(FindMainWindow(), window_);
}

// The test process stands in for the first instance with the real main
// window; the second instance is the real program.
TEST_F(StartupTest, SecondStartHandsItsCommandLineToTheRunningWindow) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_NE(mutex, nullptr);
    ASSERT_TRUE(CreateMain());
    {
        // With one of the program's boxes open above the main window.
        OwnedCalverinBox box(window_);
        ASSERT_NE(box.Box(), nullptr);
        lstrcpyA(JobPath, "untouched");
        Program second("\"C:\\missing folder\\handed over.txt\"");
        ASSERT_TRUE(second.Started());
        EXPECT_EQ(second.ExitCode(), kExitNormal);
        EXPECT_STREQ(JobPath, "C:\\missing folder\\handed over.txt");
    }
    std::vector<std::string> reports = RunQueuedJobs(1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(ReportedPath(reports[0]), "C:\\missing folder\\handed over.txt");

    // Without arguments: nothing is handed over, exit code 1.
    lstrcpyA(JobPath, "untouched");
    Program empty("");
    ASSERT_TRUE(empty.Started());
    EXPECT_EQ(empty.ExitCode(), kExitNoHandOff);
    EXPECT_STREQ(JobPath, "untouched");

    DestroyMain();
    CloseHandle(mutex);
}

// A path of about 400 characters from a second start: the running window
// hashes the file, and its tooltip shows the path whole.
TEST_F(StartupTest, SecondStartsLongPathIsHashedAndItsTooltipShowsItWhole) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_NE(mutex, nullptr);
    ScratchFolder scratch;
    std::string folder = scratch.Path();
    for (char letter = 'a'; folder.size() < 380; ++letter) {
        folder += "\\" + std::string(60, letter) + " folder";
        ASSERT_TRUE(MakeFolderLong(folder));
    }
    const std::string path = folder + "\\far down.txt";
    ASSERT_TRUE(WriteFileBytes(path, "far down"));
    ASSERT_TRUE(CreateMain());

    Program second("\"" + path + "\"");
    EXPECT_EQ(second.ExitCode(), kExitNormal);
    EXPECT_TRUE(
        RunQueuedJobsUntil([] { return WindowText(Hash1Field) == ReferenceMd5("far down"); }));
    EXPECT_EQ(TipText(window_, Hash1Field).substr(0, path.size() + 2), path + "\r\n");
    CloseHandle(mutex);
}

// The test holds the mutex without a main window, as a first instance that is
// slow to show it. Here the wait is short; the program's own is
// kFirstInstanceWaitMs.
TEST_F(StartupTest, SecondStartThatFindsNoWindowNamesItsFilesOrBecomesTheFirst) {
    HANDLE held = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_NE(held, nullptr);
    HANDLE own = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    {
        BoxCloser closer(kLostFilesCaption);
        EXPECT_EQ(HandOffToFirstInstance(instance, "\"C:\\missing folder\\lost.txt\"", &own, 300),
                  kExitNoHandOff);
        ASSERT_TRUE(closer.Result().found);
        EXPECT_NE(closer.Result().text.find("\nC:\\missing folder\\lost.txt"), std::string::npos)
            << closer.Result().text;
    }
    {
        // Ten are named, then the rest counted.
        std::string twelve;
        for (int i = 1; i <= 12; ++i)
            twelve += " C:\\missing\\f" + std::to_string(i) + ".txt";
        BoxCloser closer(kLostFilesCaption);
        EXPECT_EQ(HandOffToFirstInstance(instance, twelve.c_str(), &own, 0), kExitNoHandOff);
        const std::string& text = closer.Result().text;
        EXPECT_NE(text.find("\\f10.txt\nand 2 more"), std::string::npos) << text;
        EXPECT_EQ(text.find("f11"), std::string::npos) << text;
    }
    {
        // Nothing named: no box.
        BoxCloser closer(kLostFilesCaption);
        EXPECT_EQ(HandOffToFirstInstance(instance, "", &own, 0), kExitNoHandOff);
        EXPECT_FALSE(closer.Stop().found);
    }
    // The first instance ends: the waiting start owns the mutex now.
    CloseHandle(held);
    EXPECT_EQ(HandOffToFirstInstance(instance, "C:\\missing\\lost.txt", &own, 60000),
              kRunAsFirstInstance);
    CloseHandle(own);
}

// The real program as that second start: once it waits (it holds a handle of
// the mutex too) the test's first instance ends, and the program hashes its
// file as the first instance.
TEST_F(StartupTest, SecondStartWhoseFirstInstanceEndsRunsAsTheFirst) {
    ProgramIni ini(kQuietIni);
    HANDLE held = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    ASSERT_NE(held, nullptr);
    Program second("C:\\missing\\orphan.txt");
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(WaitUntil([&] { return HandleCount(held) >= 2; }, kProcessTimeoutMs));
    BoxCloser closer("Error", kProcessTimeoutMs);
    CloseHandle(held);
    const FoundBox& report = closer.Result();
    ASSERT_TRUE(report.found);
    EXPECT_EQ(ReportedPath(report.text), "C:\\missing\\orphan.txt");
    HWND main = second.MainWindowOf();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(report.owner, main);
    PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(second.ExitCode(), kExitNormal);
}

TEST_F(StartupTest, TwoRealInstancesHandOverAndBringTheFirstToFront) {
    ProgramIni ini(kQuietIni);
    Program first("C:\\missing\\first.txt");
    ASSERT_TRUE(first.Started());
    HWND main = first.MainWindowOf();
    ASSERT_NE(main, nullptr);
    {
        // The command line's job runs only once the window is shown.
        BoxCloser closer("Error");
        const FoundBox& report = closer.Result();
        ASSERT_TRUE(report.found);
        EXPECT_EQ(report.owner, main);
        EXPECT_TRUE(report.ownerVisible);
        EXPECT_EQ(ReportedPath(report.text), "C:\\missing\\first.txt");
    }
    {
        BoxCloser closer("Error");
        Program second("C:\\missing\\second.txt");
        EXPECT_EQ(second.ExitCode(), kExitNormal);
        const FoundBox& report = closer.Result();
        ASSERT_TRUE(report.found);
        EXPECT_EQ(report.owner, main);
        EXPECT_EQ(ReportedPath(report.text), "C:\\missing\\second.txt");
    }
    {
        // A window of ours in front; the second start brings the first back.
        HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(other);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }));
        Program empty("");
        EXPECT_EQ(empty.ExitCode(), kExitNoHandOff);
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }));
        DestroyWindow(other);
    }
    {
        // The program's own "Calverin" box is open above its main window.
        PostMessageA(main, WM_COMMAND, IDM_SEARCH_HASH, 0);
        HWND search = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (search = FindBox("Calverin", main)) != nullptr; }));
        BoxCloser closer("Error");
        Program third("\"C:\\missing\\third file.txt\"");
        EXPECT_EQ(third.ExitCode(), kExitNormal);
        const FoundBox& report = closer.Result();
        ASSERT_TRUE(report.found);
        EXPECT_EQ(report.owner, main);
        EXPECT_EQ(ReportedPath(report.text), "C:\\missing\\third file.txt");
        EXPECT_EQ(ReadBox(search).text, "Set checksum to search to the first field.");
        CloseBox(search);
    }
    // Escape ends the first instance normally.
    PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(first.ExitCode(), kExitNormal);
}

// The packaged program as the shell starts it. tests/modules/installer-test.sh
// installs a package (or unpacks a zip) and names the command line of its
// context-menu entry as read back from the registry ("%1" for the file), the
// files and their md5sum checksums; in the ordinary run this is skipped.
TEST_F(StartupTest, PackagedCommandStartedForEachFileEndsInOneWindow) {
    const char* command = getenv("CALVERIN_SHELL_COMMAND");
    const char* files = getenv("CALVERIN_SHELL_FILES"); // '|' between paths
    const char* sums = getenv("CALVERIN_SHELL_SUMS");   // ' ' between checksums
    if (!command || !files || !sums)
        GTEST_SKIP() << "run by tests/modules/installer-test.sh";
    const std::string line = command;
    const size_t at = line.find("%1");
    ASSERT_NE(at, std::string::npos) << line;
    const std::vector<std::string> paths = SplitAt(files, '|');
    std::vector<std::string> expected = SplitAt(sums, ' ');
    ASSERT_EQ(paths.size(), expected.size());
    ASSERT_TRUE(paths.size() == 1 || paths.size() == 2) << "one field for each file";
    std::sort(expected.begin(), expected.end());

    // One right after the other, as the shell does for a quick second choice.
    std::vector<std::unique_ptr<Program>> starts;
    for (const std::string& path : paths) {
        starts.push_back(
            std::make_unique<Program>(CommandLine{Widen(std::string(line).replace(at, 2, path))}));
        ASSERT_TRUE(starts.back()->Started()) << starts.size();
    }
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = FindMainWindow()) != nullptr; }, kProcessTimeoutMs));
    DWORD owner = 0;
    GetWindowThreadProcessId(main, &owner);
    int windowed = 0;
    for (const std::unique_ptr<Program>& start : starts) {
        if (start->Id() == owner)
            ++windowed;
        else
            EXPECT_EQ(start->ExitCode(), kExitNormal) << "a later start hands its file over";
    }
    EXPECT_EQ(windowed, 1);

    // Which start became the window decides the order of the fields.
    std::vector<std::string> shown;
    const int fields[] = {IDC_HASH1, IDC_HASH2};
    EXPECT_TRUE(WaitUntil(
        [&] {
            shown.clear();
            for (size_t i = 0; i < paths.size(); ++i)
                shown.push_back(WindowText(GetDlgItem(main, fields[i])));
            std::sort(shown.begin(), shown.end());
            return shown == expected;
        },
        kProcessTimeoutMs))
        << testing::PrintToString(shown) << " instead of " << testing::PrintToString(expected);
}

// Each start in a folder of its own with a file of the same relative name:
// the second start's file is its own, not the running instance's namesake.
TEST_F(StartupTest, SecondStartsRelativePathNamesTheFileOfItsOwnFolder) {
    std::string expanded = kQuietIni;
    expanded.replace(expanded.find("StartInFullMode=0"), 17, "StartInFullMode=1");
    ProgramIni ini(expanded);
    ScratchFolder firstFolder;
    ScratchFolder secondFolder;
    firstFolder.WriteFile("x.txt", "first folder");
    secondFolder.WriteFile("x.txt", "second folder");
    Program first("x.txt", firstFolder.Path());
    HWND main = first.MainWindowOf();
    ASSERT_NE(main, nullptr);
    // Looked up each time: the window is found before its controls exist.
    auto field = [main](int id) { return WindowText(GetDlgItem(main, id)); };
    ASSERT_TRUE(WaitUntil([&] { return field(IDC_HASH1) == ReferenceMd5("first folder"); },
                          kProcessTimeoutMs));
    Program second("x.txt", secondFolder.Path());
    EXPECT_EQ(second.ExitCode(), kExitNormal);
    EXPECT_TRUE(WaitUntil([&] { return field(IDC_HASH2) == ReferenceMd5("second folder"); },
                          kProcessTimeoutMs))
        << field(IDC_HASH2);
}

// A name of CJK letters, a symbol and an emoji (outside the 16-bit range),
// which no ANSI code page holds whole: hashed as itself from the command line
// of a first start, and of a second start that names it relative to its own
// folder.
TEST_F(StartupTest, ANameOfAnyCharactersIsHashedFromAFirstAndASecondStart) {
    std::string expanded = kQuietIni;
    expanded.replace(expanded.find("StartInFullMode=0"), 17, "StartInFullMode=1");
    ProgramIni ini(expanded);
    ScratchFolder scratch;
    const std::string name = "\xE8\xB3\x87\xE6\x96\x99 \xE2\x9C\x93 \xF0\x9F\x98\x80.bin";
    const std::string path = scratch.WriteFile(name, "every name");

    Program first("\"" + path + "\"");
    HWND main = first.MainWindowOf();
    ASSERT_NE(main, nullptr);
    auto field = [main](int id) { return WindowText(GetDlgItem(main, id)); };
    EXPECT_TRUE(WaitUntil([&] { return field(IDC_HASH1) == ReferenceMd5("every name"); },
                          kProcessTimeoutMs))
        << field(IDC_HASH1);

    Program second("\"" + name + "\"", scratch.Path());
    EXPECT_EQ(second.ExitCode(), kExitNormal);
    EXPECT_TRUE(WaitUntil([&] { return field(IDC_HASH2) == ReferenceMd5("every name"); },
                          kProcessTimeoutMs))
        << field(IDC_HASH2);
}

// An INI file that an earlier version wrote in the system's code page, with
// "\u00e9" in CustomUI: the module is found by that name, and saving Options
// keeps it.
TEST_F(StartupTest, IniFileInTheSystemCodePageKeepsItsValuesThroughOptions) {
    DWORD page = 0;
    ASSERT_NE(GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT,
                             LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                             reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(wchar_t)),
              0);
    ScratchFolder scratch;
    const std::wstring module = Widen(scratch.Path()) + L"\\caf\u00e9\\custom_options.dll";
    ASSERT_TRUE(CreateDirectoryW(module.substr(0, module.rfind(L'\\')).c_str(), nullptr));
    ASSERT_TRUE(
        CopyFileW(Widen(ExeFolder() + "\\custom_options.dll").c_str(), module.c_str(), TRUE));
    char stored[MAX_PATH] = "";
    BOOL unmapped = FALSE;
    WideCharToMultiByte(page, 0, module.c_str(), -1, stored, MAX_PATH, nullptr, &unmapped);
    ASSERT_FALSE(unmapped) << "the system's code page " << page << " holds the name";
    ProgramIni ini(std::string(kQuietIni) + "CustomUI=" + stored + "\r\n");

    Program first("");
    HWND main = first.MainWindowOf();
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, IDM_OPTIONS, 0);
    HWND options = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (options = FindBox("Options - Custom", main)) != nullptr; }))
        << "the module is loaded by its name";
    PressButton(options, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }));

    const std::wstring iniPath = Widen(ExeFolder() + "\\Calverin.ini");
    wchar_t value[MAX_PATH] = L"";
    GetPrivateProfileStringW(L"OPTIONS", L"CustomUI", L"", value, MAX_PATH, iniPath.c_str());
    EXPECT_TRUE(value == module) << "kept through the save";
    // The custom dialog has none of the controls: the save stored 0 for each.
    EXPECT_EQ(GetPrivateProfileIntW(L"OPTIONS", L"MultipleFiles", 9, iniPath.c_str()), 0u);
}

// A resource module's main dialog with another caption: the second start
// finds the running window all the same, and its file is hashed.
TEST_F(StartupTest, SecondStartFindsAMainWindowThatAResourceModuleRenamed) {
    ProgramIni ini(std::string(kQuietIni) + "CustomUI=" + ExeFolder() + "\\custom_main.dll\r\n");
    ScratchFolder scratch;
    std::string handed = scratch.WriteFile("handed.txt", "handed");
    Program first("");
    HWND main = first.MainWindowOf();
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(WindowText(main), "Checksums - Custom");
    Program second("\"" + handed + "\"");
    EXPECT_EQ(second.ExitCode(), kExitNormal);
    EXPECT_TRUE(
        WaitUntil([&] { return WindowText(GetDlgItem(main, IDC_HASH1)) == ReferenceMd5("handed"); },
                  kProcessTimeoutMs));
}
