// Drives the real Calverin.exe (built beside the test executable) as a separate
// process through window messages.
//
//   AppDriver app("MultipleFiles=2\nStartInFullMode=1\n");
//   ASSERT_TRUE(app.Start("\"" + file + "\""));
//   ASSERT_TRUE(app.WaitForText(IDC_STATUS, "Calverin"));
//   EXPECT_EQ(app.Text(IDC_HASH1), "...");
//
// The constructor writes the program's INI file (Calverin.ini beside
// Calverin.exe, named after the exe as the program names it; any existing file
// is saved and put back by the destructor); the destructor also kills the
// process. Every wait is a bounded poll (WaitUntil) and returns false on time-out.
#pragma once

#include <windows.h>

#include <string>

constexpr DWORD kAppWait = 15000;

class AppDriver {
  public:
    // options: "Key=Value" lines for the [OPTIONS] section. Settings not named
    // keep their defaults, except GetFileOnStart, which is 0 unless given, so
    // that a start without files does not open the file picker.
    // exePath: another Calverin.exe (the other build's), with its own INI file.
    explicit AppDriver(const std::string& options = std::string(),
                       const std::string& exePath = ExePath());
    ~AppDriver();
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    static std::string ExePath(); // Calverin.exe beside the test executable
    // CalverinGated.exe beside it: the program built to open named pipes as
    // files (PipeFile), which Calverin.exe refuses.
    static std::string GatedExePath();

    // Starts Calverin.exe with the command-line text after the program name and
    // waits until its main window is visible.
    bool Start(const std::string& arguments = std::string(), DWORD timeoutMs = kAppWait);
    // Runs another Calverin.exe to its end (a second instance). Returns its exit
    // code, or -1 when it did not end in time (it is then killed).
    static int RunOther(const std::string& arguments, DWORD timeoutMs = kAppWait,
                        const std::string& exePath = ExePath());
    // Kills the process (also done by the destructor).
    void Kill();
    // Waits for the process to end by itself; exitCode may be null.
    bool WaitForExit(DWORD timeoutMs = kAppWait, DWORD* exitCode = nullptr);

    HWND Window() const { return window_; }
    HANDLE Process() const { return process_.hProcess; }
    DWORD ProcessId() const { return process_.dwProcessId; }

    // Controls of the main window by id.
    HWND Control(int id) const;
    std::string Text(int id) const;
    bool IsEnabled(int id) const;
    bool IsVisible(int id) const;
    // WM_SETTEXT on a control, as typing or pasting would change it.
    void SetText(int id, const std::string& text) const;
    // BM_CLICK on a button, sent: returns after the click is handled. A click
    // that opens a modal box would wait for the box; use Command for those.
    void Click(int id) const;
    // Posts WM_COMMAND with id (as a menu item, accelerator or button would).
    void Command(int id) const;
    // Sends WM_COPYDATA with the text (and its zero), as a second start hands
    // over its command line; returns when the window has queued the paths.
    bool HandOver(const std::string& commandLine, DWORD timeoutMs = kAppWait) const;
    bool WaitForText(int id, const std::string& text, DWORD timeoutMs = kAppWait) const;
    // Waits until no job runs: the status line reads "Calverin" and is
    // disabled and the Open button is enabled (the last step of every job's
    // end, so commands sent after it are taken).
    bool WaitForIdle(DWORD timeoutMs = kAppWait) const;

    // A visible dialog owned by the main window: a message box or a common
    // dialog (read one with ReadBox, answer it with PressButton). Null when
    // there is none.
    HWND FindOwnedDialog() const;
    HWND WaitForOwnedDialog(DWORD timeoutMs = kAppWait) const;
    // Waits until no owned dialog is shown.
    bool WaitForNoOwnedDialog(DWORD timeoutMs = kAppWait) const;

    // Colour of field 2 as shown on screen, read next to its top-left corner.
    COLORREF Field2Pixel() const;
    bool WaitForField2Colour(COLORREF colour, DWORD timeoutMs = kAppWait) const;

    // Sends WM_NULL with a time-out; the round trip in milliseconds, or -1.
    long PingMs(DWORD timeoutMs = kAppWait) const;

  private:
    std::string exePath_;
    std::string iniPath_;
    std::string savedIni_;
    bool hadIni_ = false;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

// Lower-case MD5 of bytes from the system's crypto provider, independent of
// the program's engine; empty when the provider is missing.
std::string ReferenceMd5(const std::string& bytes);
