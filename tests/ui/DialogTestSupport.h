// Helpers of the dialog tests: a main window in-process, modal dialogs driven
// from a second thread, and registry values put back as found.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ResourceModule.h"
#include "app/Settings.h"
#include "tests/support/TestSupport.h"

// Settings at their defaults with the INI store in a scratch folder, the
// program's own resources, and a main window created as start-up does. Puts
// every process-wide value back afterwards.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Destroys the main window (if any) and creates it anew from Settings.
    void RecreateMainWindow();
    std::string IniFile() const { return scratch_.Path() + "\\Calverin.ini"; }

    HWND main_ = nullptr;
    ScratchFolder scratch_;

private:
    void DestroyMainWindow();
    SettingsRecord savedSettings_ = {};
    char savedIniPath_[MAX_PATH] = {};
    ResourceModuleState savedModule_ = {};
};

void SetDefaultSettings(bool useRegistry);

// Runs open() on this thread, which shows a modal dialog owned by owner, and
// drive(dialog) on a second thread once that dialog is visible. A dialog still
// open when drive returns is cancelled. Returns open()'s result; *found tells
// whether the dialog appeared.
INT_PTR RunModal(HWND owner, const std::function<INT_PTR()>& open,
                 const std::function<void(HWND dialog)>& drive, bool* found = nullptr);

// The visible dialog (class #32770) owned by owner, waiting up to timeoutMs.
HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs = 10000);

// The window with the keyboard focus on thread's input queue.
HWND FocusOf(HWND window);

std::string WindowText(HWND window);

// Posts a key press (down and up) to window, as the keyboard would.
void PostKey(HWND window, UINT virtualKey);

// Sends mouse input: moves the pointer to the screen point, optionally clicks.
void MovePointer(POINT screen);
void ClickPointer(POINT screen);

// Remembers named values of a key (and which parts of its path existed) and
// puts them back, deleting what did not exist, when it goes.
class RegistryValuesGuard {
public:
    RegistryValuesGuard(HKEY root, const std::string& path, std::vector<std::string> names);
    ~RegistryValuesGuard();
    RegistryValuesGuard(const RegistryValuesGuard&) = delete;
    RegistryValuesGuard& operator=(const RegistryValuesGuard&) = delete;

private:
    struct Value {
        std::string name;
        bool existed;
        DWORD type;
        std::vector<BYTE> data;
    };
    HKEY root_;
    std::string path_;
    std::vector<std::string> missingKeys_;  // deepest first
    std::vector<Value> values_;
};
