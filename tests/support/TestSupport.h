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

// A fresh, empty scratch folder under the system temp folder, removed with
// everything in it when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }
    // Writes bytes to name (relative to the folder) and returns the full path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};
