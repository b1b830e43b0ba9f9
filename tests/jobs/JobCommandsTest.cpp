// The Search hash and MD5 Benchmark commands of the main window: picker,
// remembered folder, and the job they start.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "system/Settings.h"
#include "jobs/JobRunner.h"
#include "res/resource.h"
#include "tests/jobs/JobTestSupport.h"
#include "tests/support/AppDriver.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/TestSupport.h"
#include "ui/MainWindow.h"

namespace {

// Posts command to owner and answers the picker it opens from a helper
// thread (look gets the dialog first, then button closes it); returns once
// the command has been handled.
template <typename Look> bool RunPickerCommand(HWND owner, WORD command, int button, Look look) {
    std::atomic<bool> answered{false};
    std::thread helper([&] {
        HWND dialog = WaitForOwnedDialog(owner, 10000);
        if (dialog) {
            look(dialog);
            PressButton(dialog, button);
            WaitUntil([&] { return !IsWindow(dialog); });
        }
        answered = true;
    });
    PostMessageA(owner, WM_COMMAND, command, 0);
    // The picker's modal loop runs inside this wait.
    bool done = WaitUntil([&] { return answered.load(); });
    helper.join();
    PumpMessages();
    return done;
}

class JobCommandsTest : public JobWindowTest {
  protected:
    void SetUp() override {
        Settings.StartInFullMode = false;
        ASSERT_NE(CreateMain(), nullptr);
    }

    // Lets the search that a command queued run, going on at every match,
    // and reads its summary. The run token is polled only after the summary:
    // before, the worker may not yet be waiting for it.
    FoundBox RunQueuedSearch(int* matches) {
        *matches = 0;
        ReleaseRunToken();
        for (;;) {
            bool paused = false;
            HWND box = nullptr;
            WaitUntil([&] {
                paused = JobState.load() == SearchPaused && GetWindowTextLengthA(Hash2Field) > 0;
                return paused || (box = FindBox("Search finished - Calverin", window_)) != nullptr;
            });
            if (!paused) {
                FoundBox summary;
                if (box) {
                    summary = ReadBox(box);
                    CloseBox(box);
                }
                EXPECT_TRUE(
                    WaitUntil([] { return WaitForSingleObject(RunToken, 0) == WAIT_OBJECT_0; }));
                return summary;
            }
            ++*matches;
            SetWindowTextA(Hash2Field, "");
            SendMessageA(StatusButton, BM_CLICK, 0, 0);
        }
    }
};

// (Field 1 without a checksum: MainWindowTest.SearchAsksForChecksumAfterExpanding.)
TEST_F(JobCommandsTest, SearchHashPicksRemembersAndSearches) {
    ASSERT_FALSE(Visible(IDC_HASH2));

    // Below the drive root: the folder dialog reaches it through the shell's
    // folders on every system.
    ScratchFolder tree(ScratchFolder::kDriveRoot);
    WriteFileBytes(tree.Path() + "\\wanted.txt", "wanted");
    WriteFileBytes(tree.Path() + "\\other.txt", "other");
    TypeTarget(ReferenceMd5("wanted"));
    std::string folder = tree.Path();
    int matches = 0;
    ASSERT_TRUE(RunPickerCommand(window_, IDM_SEARCH_HASH, IDOK, [&](HWND dialog) {
        // Chosen once the dialog has made its own first choice (the remembered
        // folder) and centred itself.
        WaitUntil([&] {
            RECT placed;
            GetWindowRect(dialog, &placed);
            return placed.left ==
                   (GetSystemMetrics(SM_CXSCREEN) - (placed.right - placed.left)) / 2;
        });
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, (LPARAM)folder.c_str());
    }));
    EXPECT_EQ(RunQueuedSearch(&matches).text,
              "Searched 2 files, found 1 file(s) with a matching MD5 checksum.");
    EXPECT_EQ(matches, 1);
    EXPECT_TRUE(Visible(IDC_HASH2)) << "expanded for the match to show";

    // The next search starts where the last one was chosen.
    ASSERT_TRUE(RunPickerCommand(window_, IDM_SEARCH_HASH, IDOK, [](HWND) {}));
    EXPECT_EQ(RunQueuedSearch(&matches).text,
              "Searched 2 files, found 1 file(s) with a matching MD5 checksum.");
    EXPECT_EQ(matches, 1);

    // Cancelling the picker starts nothing.
    {
        BoxCloser noSummary("Search finished - Calverin", 1000);
        ASSERT_TRUE(RunPickerCommand(window_, IDM_SEARCH_HASH, IDCANCEL, [](HWND) {}));
        ReleaseRunToken();
        EXPECT_FALSE(noSummary.Stop().found);
        EXPECT_EQ(WaitForSingleObject(RunToken, 0), WAIT_OBJECT_0) << "no job took the token";
    }
}

TEST_F(JobCommandsTest, BenchmarkPicksAFileAndShowsItsPathAsChosen) {
    ScratchFolder folder;
    std::string file = folder.WriteFile("A File To Measure.bin", "measure me");
    BoxCloser result("Calverin - Benchmark");
    ASSERT_TRUE(RunPickerCommand(window_, IDM_BENCHMARK, IDOK, [&](HWND dialog) {
        HWND combo = GetDlgItem(dialog, cmb13);
        HWND name = combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
        if (!name)
            name = combo ? combo : GetDlgItem(dialog, edt1);
        SendMessageA(name, WM_SETTEXT, 0, (LPARAM)file.c_str());
    }));
    ReleaseRunToken();
    const FoundBox& box = result.Result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.text.rfind("MD5 Benchmark results for file:\n" + file + "\n\nMD5 hash: " +
                                 ReferenceMd5("measure me") + "\nFile Size: 10 B\n",
                             0),
              0u)
        << box.text;
    EXPECT_TRUE(WaitUntil([] { return WaitForSingleObject(RunToken, 0) == WAIT_OBJECT_0; }));
}

} // namespace
