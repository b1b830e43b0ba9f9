// Shared helpers of the Wine tests: bounded waits, scratch files, paths.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Polls condition (pumping this thread's messages between polls) until it
// holds or timeoutMs passes. Never a fixed sleep: returns as soon as it holds.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// Pumps pending messages of this thread once.
void PumpMessages();

// Folder of the running test executable (Calverin.exe is built beside it).
std::string ExeFolder();

// Text of any window, also of another process (WM_GETTEXT with a time-out).
std::string WindowText(HWND window);
// Window class name.
std::string ClassOf(HWND window);

// The system's message text for an error code; empty for an unknown code.
std::string SystemText(DWORD error);

// An empty, hidden modal-frame dialog run by proc, to host controls under test.
HWND CreateHostDialog(DLGPROC proc);

// A whole file's bytes; false when it cannot be opened. Full paths may be
// of any length.
bool ReadFileBytes(const std::string& path, std::string* bytes);
// Creates or replaces a file with bytes; true when all were written.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// "prefix-PID-N" + suffix in the system temp folder, unique in this run.
std::string UniqueTempPath(const char* prefix, const char* suffix = "");

// Creates a folder also beyond MAX_PATH's limit ("\\?\" form).
bool MakeFolderLong(const std::string& path);

// A fresh, empty scratch folder, removed with everything in it (any depth)
// when the object goes. It lies under the system temp folder, or right below
// the drive root (kDriveRoot), so that deep trees get as many levels as
// MAX_PATH allows.
class ScratchFolder {
  public:
    enum Place { kTemp, kDriveRoot };
    explicit ScratchFolder(Place place = kTemp);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }
    // Writes bytes to name (relative to the folder) and returns the full path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;

  private:
    std::string path_;
};
