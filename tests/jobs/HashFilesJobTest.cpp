// The road of a file through the real Calverin.exe: arrival, batch numbering,
// stops between files, errors, cancel and the hand-off of a second start.
// Named pipes (PipeFile) stand in for files where a test must hold a job
// in the middle of its file; the order among queued files is the system's
// choice, so such tests follow whichever pipe the job opens next.
#include "jobs/HashFilesJob.h"

#include "system/Settings.h"
#include "jobs/JobRunner.h"
#include "res/resource.h"
#include "tests/support/AppDriver.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/PipeFile.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/MainWindowTestSupport.h"
#include "ui/Comparison.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr const char* kProgress = "[  Calculating checksum  ]";
constexpr const char* kNextFile = "Calculate next checksum >>>";
constexpr const char* kIdle = "Calverin";

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string Counted(int started, int queued) {
    char text[64];
    wsprintfA(text, "[  Calculating checksum %d of %d  ]", started, queued);
    return text;
}

// Reproducible bytes that differ by seed.
std::string Bytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 23);
    }
    return bytes;
}

struct Gates {
    explicit Gates(int count) {
        for (int i = 0; i < count; ++i)
            pipes.push_back(std::make_unique<PipeFile>());
        released.assign(count, false);
    }
    std::string CommandLine() const {
        std::string line;
        for (const auto& pipe : pipes)
            line += (line.empty() ? "" : " ") + pipe->Path();
        return line;
    }
    // The pipe the running job opened next; -1 when none did in time.
    int WaitForNext() {
        int next = -1;
        WaitUntil([&] {
            for (size_t i = 0; i < pipes.size(); ++i) {
                if (!released[i] && pipes[i]->IsConnected()) {
                    next = (int)i;
                    return true;
                }
            }
            return false;
        });
        return next;
    }
    // No pipe but the released ones has a reader.
    bool NoneWaiting() {
        for (size_t i = 0; i < pipes.size(); ++i) {
            if (!released[i] && pipes[i]->IsConnected())
                return false;
        }
        return true;
    }
    void Release(int index, const std::string& bytes) {
        pipes[index]->Write(bytes);
        pipes[index]->End();
        released[index] = true;
    }
    std::vector<std::unique_ptr<PipeFile>> pipes;
    std::vector<bool> released;
};

TEST(HashFilesRoad, OneFileInACompactWindow) {
    ScratchFolder scratch;
    std::string bytes = Bytes(100000, 1);
    std::string file = scratch.WriteFile("one file.bin", bytes);
    PipeFile gate;
    AppDriver app("StartInFullMode=0\n", AppDriver::GatedExePath());
    ASSERT_TRUE(app.Start(gate.Path()));
    ASSERT_TRUE(gate.WaitConnected());
    EXPECT_TRUE(app.WaitForText(IDC_STATUS, kProgress));
    EXPECT_TRUE(app.IsEnabled(IDC_STATUS));
    EXPECT_FALSE(app.IsEnabled(IDC_OPEN));
    std::string piped = Bytes(5000, 2);
    gate.Write(piped);
    gate.End();
    EXPECT_TRUE(app.WaitForText(IDC_HASH1, ReferenceMd5(piped)));
    EXPECT_TRUE(app.WaitForIdle());
    EXPECT_FALSE(app.IsEnabled(IDC_STATUS));
    EXPECT_TRUE(app.IsEnabled(IDC_OPEN));

    // A real file, by a path with a blank, replaces it in field 1.
    ASSERT_TRUE(app.HandOver(Quoted(file)));
    EXPECT_TRUE(app.WaitForText(IDC_HASH1, ReferenceMd5(bytes)));
    EXPECT_TRUE(app.WaitForIdle());
    EXPECT_EQ(app.Text(IDC_HASH2), "");
    EXPECT_FALSE(app.IsVisible(IDC_HASH2));
}

// Names that the system's own path rules would rewrite: "td.txt." is not its
// neighbour "td.txt", and "nul.txt" is a file, not the null device.
TEST(HashFilesRoad, NamesTheSystemWouldRewriteAreHashedAsThemselves) {
    ScratchFolder scratch;
    std::string dotted = scratch.WriteFile("td.txt.", "with a trailing dot");
    std::string plain = scratch.WriteFile("td.txt", "without");
    std::string device = scratch.WriteFile("nul.txt", "not a device");
    AppDriver app("StartInFullMode=1\nMultipleFiles=2\n");
    ASSERT_TRUE(app.Start(Quoted(dotted) + " " + Quoted(plain)));
    const std::set<std::string> both = {ReferenceMd5("with a trailing dot"),
                                        ReferenceMd5("without")};
    EXPECT_TRUE(WaitUntil([&] {
        return std::set<std::string>{app.Text(IDC_HASH1), app.Text(IDC_HASH2)} == both;
    })) << app.Text(IDC_HASH1)
        << " " << app.Text(IDC_HASH2);
    EXPECT_TRUE(app.WaitForIdle());
    ASSERT_TRUE(app.HandOver(Quoted(device)));
    EXPECT_TRUE(app.WaitForText(IDC_HASH2, ReferenceMd5("not a device")));
}

TEST(HashFilesRoad, ThreeFilesWithoutStopsAreNumberedOfThree) {
    Gates gates(3);
    AppDriver app("StartInFullMode=1\nMultipleFiles=2\n", AppDriver::GatedExePath());
    ASSERT_TRUE(app.Start(gates.CommandLine()));
    std::string first, last;
    for (int k = 1; k <= 3; ++k) {
        int gate = gates.WaitForNext();
        ASSERT_GE(gate, 0) << "file " << k;
        // All three arrived before the window was shown: 1 of 3 from the start.
        EXPECT_TRUE(app.WaitForText(IDC_STATUS, Counted(k, 3)));
        std::string bytes = Bytes(3000, 10 + k);
        gates.Release(gate, bytes);
        std::string checksum = ReferenceMd5(bytes);
        EXPECT_TRUE(app.WaitForText(k == 1 ? IDC_HASH1 : IDC_HASH2, checksum)) << "file " << k;
        (k == 1 ? first : last) = checksum;
    }
    EXPECT_TRUE(app.WaitForIdle());
    EXPECT_EQ(app.Text(IDC_HASH1), first);
    EXPECT_EQ(app.Text(IDC_HASH2), last);
    EXPECT_FALSE(app.IsEnabled(IDC_STATUS));
    EXPECT_TRUE(app.IsEnabled(IDC_OPEN));
    EXPECT_EQ(app.Text(IDC_OPEN), "Compare");
}

TEST(HashFilesRoad, StopAfterEveryFileWaitsForTheStatusButton) {
    Gates gates(3);
    AppDriver app("StartInFullMode=1\nMultipleFiles=0\n", AppDriver::GatedExePath());
    ASSERT_TRUE(app.Start(gates.CommandLine()));
    std::string checksums[4];
    for (int k = 1; k <= 3; ++k) {
        int gate = gates.WaitForNext();
        ASSERT_GE(gate, 0) << "file " << k;
        EXPECT_TRUE(app.WaitForText(IDC_STATUS, Counted(k, 3)));
        std::string bytes = Bytes(2000, 20 + k);
        checksums[k] = ReferenceMd5(bytes);
        gates.Release(gate, bytes);
        EXPECT_TRUE(app.WaitForText(k == 1 ? IDC_HASH1 : IDC_HASH2, checksums[k]));
        if (k == 3)
            break;
        ASSERT_TRUE(app.WaitForText(IDC_STATUS, kNextFile)) << "file " << k;
        EXPECT_TRUE(app.IsEnabled(IDC_STATUS));
        EXPECT_FALSE(app.IsEnabled(IDC_OPEN));
        // Nothing goes on by itself: after a round trip through the window
        // no further file has been opened.
        EXPECT_GE(app.PingMs(), 0);
        EXPECT_TRUE(gates.NoneWaiting());
        EXPECT_EQ(app.Text(IDC_STATUS), kNextFile);
        app.Click(IDC_STATUS);
    }
    EXPECT_TRUE(app.WaitForIdle());
    EXPECT_FALSE(app.IsEnabled(IDC_STATUS));
    EXPECT_TRUE(app.IsEnabled(IDC_OPEN));
    EXPECT_EQ(app.Text(IDC_HASH1), checksums[1]);
    EXPECT_EQ(app.Text(IDC_HASH2), checksums[3]);
}

TEST(HashFilesRoad, StopAfterMatchingFileStopsAtTheFirstMatchOnly) {
    Gates gates(4);
    AppDriver app("StartInFullMode=1\nMultipleFiles=1\n", AppDriver::GatedExePath());
    ASSERT_TRUE(app.Start());
    std::string reference = ReferenceMd5("the wanted file");
    app.SetText(IDC_HASH1, reference); // as a paste would
    ASSERT_TRUE(app.HandOver(gates.CommandLine()));
    const char* contents[] = {"not it", "nor this", "the wanted file", "after the match"};
    for (int k = 0; k < 4; ++k) {
        int gate = gates.WaitForNext();
        ASSERT_GE(gate, 0) << "file " << k;
        gates.Release(gate, contents[k]);
        ASSERT_TRUE(app.WaitForText(IDC_HASH2, ReferenceMd5(contents[k]))) << "file " << k;
        if (k == 2) {
            ASSERT_TRUE(app.WaitForText(IDC_STATUS, kNextFile));
            EXPECT_GE(app.PingMs(), 0);
            EXPECT_TRUE(gates.NoneWaiting());
            app.Click(IDC_STATUS);
        }
    }
    EXPECT_TRUE(app.WaitForIdle());
    EXPECT_EQ(app.Text(IDC_HASH1), reference);
}

TEST(HashFilesRoad, UnreadableFilesAreReportedAndTheFieldKeepsItsChecksum) {
    ScratchFolder scratch;
    std::string file = scratch.WriteFile("kept.txt", "kept");
    std::string missing = scratch.Path() + "\\missing.txt";
    std::string folder = scratch.Path();
    // What the system says when the folder is opened the way files are hashed.
    HANDLE handle =
        CreateFileA(folder.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD folderError = GetLastError();
    ASSERT_EQ(handle, INVALID_HANDLE_VALUE);
    std::set<std::string> expected = {
        "Could not hash file: " + missing + "\n\n" + SystemText(ERROR_FILE_NOT_FOUND),
        "Could not hash file: " + folder + "\n\n" + SystemText(folderError)};

    AppDriver app("StartInFullMode=0\n");
    ASSERT_TRUE(app.Start(Quoted(file)));
    std::string kept = ReferenceMd5("kept");
    ASSERT_TRUE(app.WaitForText(IDC_HASH1, kept));
    ASSERT_TRUE(app.WaitForIdle());

    // Handed over by a second start's command line.
    EXPECT_EQ(AppDriver::RunOther(Quoted(missing) + " " + Quoted(folder)), 0);
    for (int k = 0; k < 2; ++k) {
        HWND box = app.WaitForOwnedDialog();
        ASSERT_NE(box, nullptr) << "box " << k;
        FoundBox contents = ReadBox(box);
        EXPECT_EQ(contents.caption, "Error");
        // With a file still to come, the box can stop the rest.
        const std::string rest = "\n\nCancel stops all remaining files.";
        const bool offersStop =
            contents.text.size() > rest.size() &&
            contents.text.compare(contents.text.size() - rest.size(), rest.size(), rest) == 0;
        EXPECT_EQ(offersStop, k == 0) << contents.text;
        if (offersStop)
            contents.text.resize(contents.text.size() - rest.size());
        EXPECT_EQ(expected.erase(contents.text), 1u) << contents.text;
        EXPECT_TRUE(contents.hasIcon);
        // The progress text stays while the box is up; the field is untouched.
        EXPECT_EQ(app.Text(IDC_STATUS).rfind("[  Calculating checksum", 0), 0u)
            << app.Text(IDC_STATUS);
        EXPECT_EQ(app.Text(IDC_HASH1), kept);
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return app.FindOwnedDialog() != box; }));
    }
    EXPECT_TRUE(app.WaitForIdle());
    EXPECT_TRUE(app.WaitForNoOwnedDialog());
    EXPECT_EQ(app.Text(IDC_HASH1), kept);
    EXPECT_TRUE(app.IsEnabled(IDC_OPEN));
}

// A pipe whose other end never writes would hold its first read, the job
// slot and every file behind it for ever: the program refuses it at once.
TEST(HashFilesRoad, APipeIsRefusedAtOnceAndTheNextFileIsHashed) {
    ScratchFolder scratch;
    std::string next = scratch.WriteFile("next.txt", "next");
    PipeFile silent; // never written
    AppDriver app("StartInFullMode=0\n");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.HandOver(silent.Path() + " " + Quoted(next)));
    HWND box = app.WaitForOwnedDialog(1000);
    ASSERT_NE(box, nullptr) << "no report within a second";
    // Shown first, it also offers to stop the file behind it.
    const std::string report =
        "Could not hash file: " + silent.Path() + "\n\nThis is not a file on a disk.";
    EXPECT_EQ(ReadBox(box).text.rfind(report, 0), 0u) << ReadBox(box).text;
    PressButton(box, IDOK);
    EXPECT_TRUE(app.WaitForText(IDC_HASH1, ReferenceMd5("next")));
    EXPECT_TRUE(app.WaitForIdle());
}

// "Stop all files" ends a batch held in its first file: the status line is
// idle at once, and no queued file is hashed, only one that comes later.
TEST(HashFilesRoad, StopAllFilesDropsEveryQueuedFile) {
    ScratchFolder scratch;
    std::string queued;
    for (int i = 0; i < 150; ++i)
        queued +=
            Quoted(scratch.WriteFile("q" + std::to_string(i), "queued " + std::to_string(i))) + " ";
    std::string late = scratch.WriteFile("late.txt", "late");
    PipeFile gate;
    AppDriver app("StartInFullMode=0\nMultipleFiles=2\n", AppDriver::GatedExePath());
    ASSERT_TRUE(app.Start(gate.Path()));
    ASSERT_TRUE(gate.WaitConnected());
    ASSERT_TRUE(app.HandOver(queued, 60000));
    ASSERT_TRUE(app.WaitForText(IDC_STATUS, Counted(1, 151)));
    app.Command(IDM_STOP_BATCH);
    EXPECT_TRUE(app.WaitForText(IDC_STATUS, kIdle, 2000)) << "the first file still holds its read";
    EXPECT_TRUE(app.IsEnabled(IDC_OPEN));
    gate.Write("gate"); // its job sees the cancel
    gate.End();
    ASSERT_TRUE(app.HandOver(Quoted(late)));
    std::set<std::string> shown;
    EXPECT_TRUE(WaitUntil([&] {
        // One read per poll: a second read could see a checksum the set missed.
        std::string hash1 = app.Text(IDC_HASH1);
        shown.insert(hash1);
        return hash1 == ReferenceMd5("late") && app.Text(IDC_STATUS) == kIdle;
    }));
    shown.erase("");
    EXPECT_EQ(shown, std::set<std::string>{ReferenceMd5("late")});
    EXPECT_EQ(app.FindOwnedDialog(), nullptr);
}

TEST(HashFilesRoad, ASecondStartHandsItsFileToTheFirst) {
    ScratchFolder scratch;
    std::string file = scratch.WriteFile("second.txt", "second");
    PipeFile gate;
    AppDriver app("StartInFullMode=1\nMultipleFiles=2\n", AppDriver::GatedExePath());
    ASSERT_TRUE(app.Start(gate.Path()));
    ASSERT_TRUE(gate.WaitConnected());
    EXPECT_EQ(AppDriver::RunOther(Quoted(file)), 0);
    // The running file gains its count as the second arrives.
    EXPECT_TRUE(app.WaitForText(IDC_STATUS, Counted(1, 2)));
    EXPECT_EQ(app.Text(IDC_HASH1), "") << "the handed-over file waits its turn";
    gate.Write("first");
    gate.End();
    EXPECT_TRUE(app.WaitForText(IDC_HASH1, ReferenceMd5("first")));
    EXPECT_TRUE(app.WaitForText(IDC_HASH2, ReferenceMd5("second")));
    EXPECT_TRUE(app.WaitForIdle());

    // A second start without files only brings the first forward.
    EXPECT_EQ(AppDriver::RunOther(""), 1);
}

// Where both builds run in one prefix: the hand-off carries no pointer-sized
// data, so either build's second start reaches the other build's window.
TEST(HashFilesRoad, SecondStartsHandOverAcrossBuilds) {
    const char* other = getenv("CALVERIN_OTHER_BUILD_EXE");
    if (other == nullptr)
        GTEST_SKIP() << "run by tests/modules/cross-build.sh";
    ScratchFolder scratch;
    std::string file = scratch.WriteFile("across.txt", "across");
    const std::string builds[] = {AppDriver::ExePath(), other};
    for (int first = 0; first < 2; ++first) {
        AppDriver app("", builds[first]);
        ASSERT_TRUE(app.Start()) << builds[first];
        EXPECT_EQ(AppDriver::RunOther(Quoted(file), kAppWait, builds[1 - first]), 0);
        EXPECT_TRUE(app.WaitForText(IDC_HASH1, ReferenceMd5("across"))) << builds[first];
    }
}

TEST(HashFilesRoad, ACancelEndsTheFileWithinOneChunk) {
    ScratchFolder scratch;
    std::string next = scratch.WriteFile("next.txt", "next");
    std::string chunk = Bytes(1024, 30);
    AppDriver app("StartInFullMode=1\nMultipleFiles=2\n", AppDriver::GatedExePath());
    ASSERT_TRUE(app.Start());
    app.SetText(IDC_HASH1, ReferenceMd5("reference"));

    // Alone: the field keeps what it held and no box appears.
    PipeFile lone;
    ASSERT_TRUE(app.HandOver(lone.Path()));
    ASSERT_TRUE(lone.WaitConnected());
    ASSERT_TRUE(lone.Write(chunk));
    app.Click(IDC_STATUS);
    ASSERT_TRUE(lone.Write(chunk)); // the job reads it, then sees the cancel
    EXPECT_TRUE(app.WaitForIdle()) << "ended while its pipe is still open";
    EXPECT_FALSE(app.IsEnabled(IDC_STATUS));
    EXPECT_TRUE(app.IsEnabled(IDC_OPEN));
    EXPECT_EQ(app.Text(IDC_HASH2), "");
    EXPECT_EQ(app.FindOwnedDialog(), nullptr);

    // With a file queued behind it: that file runs next.
    PipeFile first;
    ASSERT_TRUE(app.HandOver(first.Path()));
    ASSERT_TRUE(first.WaitConnected());
    ASSERT_TRUE(app.HandOver(Quoted(next)));
    EXPECT_TRUE(app.WaitForText(IDC_STATUS, Counted(1, 2)));
    ASSERT_TRUE(first.Write(chunk));
    app.Click(IDC_STATUS);
    ASSERT_TRUE(first.Write(chunk));
    EXPECT_TRUE(app.WaitForText(IDC_HASH2, ReferenceMd5("next")));
    EXPECT_TRUE(app.WaitForIdle());
    EXPECT_EQ(app.FindOwnedDialog(), nullptr);
}

TEST(HashFilesRoad, EveryFileOfALargeHandOverIsHashedOnce) {
    constexpr int kFiles = 500;
    ScratchFolder scratch;
    std::string commandLine;
    std::set<std::string> expected;
    for (int i = 0; i < kFiles; ++i) {
        std::string bytes = "file number " + std::to_string(i);
        commandLine += Quoted(scratch.WriteFile("f" + std::to_string(i) + ".txt", bytes)) + " ";
        expected.insert(ReferenceMd5(bytes));
    }
    ASSERT_EQ(expected.size(), (size_t)kFiles);
    AppDriver app("StartInFullMode=0\nMultipleFiles=0\n", AppDriver::GatedExePath());
    ASSERT_TRUE(app.Start());
    // A held first file makes one batch of all: each file then stops it.
    PipeFile gate;
    ASSERT_TRUE(app.HandOver(gate.Path()));
    ASSERT_TRUE(gate.WaitConnected());
    ASSERT_TRUE(app.HandOver(commandLine, 120000));
    // Every file counts, also those still waiting for a thread.
    EXPECT_TRUE(app.WaitForText(IDC_STATUS, Counted(1, kFiles + 1)));
    gate.Write("gate");
    gate.End();
    std::string shown = ReferenceMd5("gate");
    ASSERT_TRUE(app.WaitForText(IDC_HASH1, shown));
    std::set<std::string> seen;
    for (int k = 1; k <= kFiles; ++k) {
        ASSERT_TRUE(app.WaitForText(IDC_STATUS, kNextFile)) << "file " << k;
        app.Click(IDC_STATUS);
        const char* after = k < kFiles ? kNextFile : kIdle;
        ASSERT_TRUE(WaitUntil([&] {
            return app.Text(IDC_HASH1) != shown && app.Text(IDC_STATUS) == after;
        })) << "file "
            << k;
        shown = app.Text(IDC_HASH1);
        EXPECT_TRUE(seen.insert(shown).second) << "hashed twice: " << shown;
    }
    EXPECT_EQ(seen, expected);
}

// Run by tests/modules/wow64-redirection.sh: a 32-bit program in a 64-bit
// prefix, where the system folder holds other files than the 32-bit program
// would see there through redirection.
TEST(HashFilesRoad, Wow64HashesTheNamedSystemFileNotItsNamesake) {
    const char* file = getenv("CALVERIN_WOW64_SYSTEM_FILE");
    const char* checksum = getenv("CALVERIN_WOW64_SYSTEM_MD5");
    const char* namesake = getenv("CALVERIN_WOW64_NAMESAKE_MD5");
    if (!file || !checksum || !namesake)
        GTEST_SKIP() << "run by tests/modules/wow64-redirection.sh";
    ASSERT_STRNE(checksum, namesake);
    AppDriver app("StartInFullMode=0\n");
    ASSERT_TRUE(app.Start(file));
    EXPECT_TRUE(app.WaitForText(IDC_HASH1, checksum)) << app.Text(IDC_HASH1);
    EXPECT_TRUE(app.WaitForIdle());
}

// String mode runs on the calling (user-interface) thread, in-process, with
// the real main dialog.
class HashJobStringMode : public ::testing::Test, protected MainWindowTestBase {
  protected:
    std::string Text(int id) const {
        char text[64] = "";
        GetDlgItemTextA(window_, id, text, sizeof text);
        return text;
    }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(window_, id)) != FALSE; }
};

TEST_F(HashJobStringMode, AStringFillsAFieldLikeAFileWithoutFileFacts) {
    Settings.StartInFullMode = true;
    Settings.MultipleFiles = 0; // never stops a string: nothing is queued
    Settings.DiffHashColor = RGB(200, 0, 0);
    FilesQueued = 0;
    FilesStarted = 0;
    ASSERT_NE(CreateMain(), nullptr);

    HashJob(window_, "abc", false);
    EXPECT_EQ(Text(IDC_HASH1), ReferenceMd5("abc"));
    EXPECT_EQ(Text(IDC_STATUS), "Calverin");
    EXPECT_FALSE(Enabled(IDC_STATUS));
    EXPECT_TRUE(Enabled(IDC_OPEN));
    EXPECT_EQ(JobState.load(), Idle);
    EXPECT_STREQ(FieldInfo[0].path, "");
    EXPECT_EQ(FieldInfo[0].sizeLow, 0xFFFFFFFFu);
    EXPECT_EQ(FieldInfo[0].modified.dwHighDateTime, 0xFFFFFFFFu);
    // The caller ends the count, as a hash-files thread does.
    EXPECT_EQ(FilesStarted.load(), 1);
    EXPECT_TRUE(EndBatchIfDone());

    // Field 1 full and the window expanded: the next goes to field 2. Line
    // breaks are hashed as the CR LF bytes typed.
    HashJob(window_, "two\r\nlines", false);
    EXPECT_TRUE(EndBatchIfDone());
    EXPECT_EQ(Text(IDC_HASH2), ReferenceMd5("two\r\nlines"));
    EXPECT_EQ(Text(IDC_HASH1), ReferenceMd5("abc"));
    EXPECT_EQ(Text(IDC_OPEN), "Compare");
    EXPECT_EQ(FieldColour, RGB(200, 0, 0));
    EXPECT_EQ(Text(IDC_STATUS), "Calverin");
    EXPECT_EQ(FilesQueued.load(), 0);
    EXPECT_EQ(FilesStarted.load(), 0);
}

TEST_F(HashJobStringMode, ACollapsedWindowReplacesField1) {
    Settings.StartInFullMode = false;
    ASSERT_NE(CreateMain(), nullptr);
    HashJob(window_, "first", false);
    HashJob(window_, "", false);
    EndBatchIfDone();
    EXPECT_EQ(Text(IDC_HASH1), ReferenceMd5(""));
    EXPECT_EQ(Text(IDC_HASH2), "");
}

} // namespace
