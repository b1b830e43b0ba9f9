// Helpers of the dialog tests: a main window in-process, modal dialogs driven
// from a second thread, and input sent as the user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/ResourceModule.h"
#include "system/Settings.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/TestSupport.h"

// Settings at their defaults with the INI store in a scratch folder, the
// program's own resources, and a main window created as start-up does. Puts
// every process-wide value back afterwards.
class DialogHostTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Destroys the main window (if any) and creates it anew from Settings.
    void RecreateMainWindow();
    std::string IniFile() const { return scratch_.Path() + "\\Calverin.ini"; }
    // Sends the main window's menu command that opens a modal dialog and
    // drives the dialog (RunModal); fails the test when it did not open.
    void OpenByCommand(int command, const char* name, const std::function<void(HWND)>& drive);

    HWND main_ = nullptr;
    ScratchFolder scratch_;

  private:
    void DestroyMainWindow();
    SettingsRecord savedSettings_ = {};
    char savedIniPath_[MAX_PATH] = {};
    ResourceModuleState savedModule_ = {};
};

void SetDefaultSettings(bool useRegistry);

// The window with the keyboard focus on thread's input queue.
HWND FocusOf(HWND window);

// Posts a key press (down and up) to window, as the keyboard would.
void PostKey(HWND window, UINT virtualKey);

// Sends mouse input: moves the pointer to the screen point, optionally clicks.
void MovePointer(POINT screen);
void ClickPointer(POINT screen);
