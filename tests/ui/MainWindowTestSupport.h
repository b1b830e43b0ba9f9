// The main dialog created in the test process from the test executable's own
// resources, with settings that the tests choose and restore.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "system/Settings.h"

class MainWindowTestBase {
  protected:
    MainWindowTestBase();
    ~MainWindowTestBase();

    // Creates and shows the main dialog with the current Settings.
    HWND CreateMain();
    // Destroys it (if alive) and takes back the quit message it posts.
    void DestroyMain();
    int Height() const;
    bool Visible(int control) const;

    // Lets n queued hash-files jobs run one after another and returns the
    // "Error" reports they show (in the order shown), then takes the run token
    // back so that nothing else runs.
    std::vector<std::string> RunQueuedJobs(int n);
    // Lets the queued jobs run until done() holds (a bounded wait), then takes
    // the run token back once they have given it up. False on time-out.
    bool RunQueuedJobsUntil(const std::function<bool()>& done);

    HWND window_ = nullptr;

  private:
    SettingsRecord savedSettings_;
    char savedIniPath_[MAX_PATH];
};

// An HDROP as the shell builds it, holding the paths in Unicode.
HGLOBAL MakeDrop(const std::vector<std::string>& paths);
// The field's tip text as the tooltip control holds it, however long;
// "<no tool>" when the field is not one of its tools.
std::string TipText(HWND owner, HWND field);
// The report "Could not hash file: PATH\n\n..." names PATH.
std::string ReportedPath(const std::string& reportText);
