// The benchmark job with the main dialog in-process.
#include "jobs/BenchmarkJob.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "jobs/JobRunner.h"
#include "tests/jobs/JobTestSupport.h"
#include "tests/support/AppDriver.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/PipeFile.h"
#include "tests/support/TestSupport.h"
#include "ui/MainWindow.h"

namespace {

const char kResultTitle[] = "Calverin - Benchmark";

class BenchmarkJobTest : public JobWindowTest {
  protected:
    // Benchmarks path and reads the result box, which it then closes.
    FoundBox Measure(const std::string& path) {
        StartWatchedJob(path, BenchmarkThread, kJobStackReserve);
        HWND box = nullptr;
        FoundBox contents;
        if (!WaitUntil([&] { return (box = FindBox(kResultTitle, window_)) != nullptr; }))
            return contents;
        contents = ReadBox(box);
        CloseBox(box);
        EXPECT_TRUE(WaitForJobEnd());
        return contents;
    }

    // The milliseconds of a result text's last line.
    static long Milliseconds(const std::string& text) {
        size_t at = text.rfind("MD5 created in: ");
        if (at == std::string::npos)
            return -1;
        return strtol(text.c_str() + at + 16, nullptr, 10);
    }
};

TEST_F(BenchmarkJobTest, ResultBoxShowsPathAsGivenChecksumSizeAndTime) {
    ScratchFolder folder;
    MakeFolder(folder.Path() + "\\A Folder With Long Names");
    std::string empty = folder.WriteFile("A Folder With Long Names\\Empty File.bin", "");
    FoundBox box = Measure(empty);
    ASSERT_EQ(box.caption, kResultTitle);
    std::string head = "MD5 Benchmark results for file:\n" + empty +
                       "\n\nMD5 hash: d41d8cd98f00b204e9800998ecf8427e\nFile Size: 0 B\n"
                       "MD5 created in: ";
    EXPECT_EQ(box.text.substr(0, head.size()), head) << box.text;
    EXPECT_EQ(box.text.substr(box.text.size() - 3), " ms");
    long ms = Milliseconds(box.text);
    EXPECT_GE(ms, 0);
    EXPECT_LT(ms, 5000) << "an empty file takes a moment at most";
    EXPECT_FALSE(box.hasIcon) << "a plain OK box";
    EXPECT_EQ(box.defaultButton, IDOK);

    std::string bytes(5000000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = (char)(i * 7 + (i >> 12));
    std::string big = folder.WriteFile("five million.bin", bytes);
    box = Measure(big);
    EXPECT_NE(box.text.find("\n\nMD5 hash: " + ReferenceMd5(bytes) + "\nFile Size: 4.77 MB\n"),
              std::string::npos)
        << box.text;
    EXPECT_GE(Milliseconds(box.text), 0);

    // The job left the window idle before its box.
    EXPECT_EQ(WindowText(StatusButton), "Calverin");
    EXPECT_FALSE(IsWindowEnabled(StatusButton));
    EXPECT_TRUE(IsWindowEnabled(OpenButton));
    EXPECT_EQ(JobState.load(), Idle);
}

TEST_F(BenchmarkJobTest, FileThatCannotBeOpenedShowsTheErrorReport) {
    ScratchFolder folder;
    std::string missing = folder.Path() + "\\not there.bin";
    BoxCloser report("Error");
    BoxCloser noResult(kResultTitle, 1000);
    StartWatchedJob(missing, BenchmarkThread, kJobStackReserve);
    const FoundBox& box = report.Result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.owner, window_);
    char systemText[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_FILE_NOT_FOUND, 0, systemText, sizeof systemText, nullptr);
    EXPECT_EQ(box.text, "Could not hash file: " + missing + "\n\n" + systemText)
        << "the open's own error, not one from restoring the window";
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_FALSE(noResult.Stop().found);
}

TEST_F(BenchmarkJobTest, CancelShowsNothing) {
    PipeFile gate;
    BoxCloser noReport("Error", 1000);
    BoxCloser noResult(kResultTitle, 1000);
    StartWatchedJob(gate.Path(), BenchmarkThread, kJobStackReserve);
    ASSERT_TRUE(gate.WaitConnected());
    ASSERT_TRUE(WaitUntil([] { return WindowText(StatusButton) == "[  Calculating checksum  ]"; }));
    EXPECT_TRUE(IsWindowEnabled(StatusButton));
    EXPECT_FALSE(IsWindowEnabled(OpenButton));
    EXPECT_EQ(JobState.load(), Hashing);

    SendMessageA(StatusButton, BM_CLICK, 0, 0);
    EXPECT_EQ(JobState.load(), Idle);
    gate.Write(std::string(4096, 'x')); // the next chunk shows the cancel
    gate.End();
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_FALSE(noReport.Stop().found);
    EXPECT_FALSE(noResult.Stop().found);
    EXPECT_EQ(WindowText(StatusButton), "Calverin");
    EXPECT_FALSE(IsWindowEnabled(StatusButton));
    EXPECT_TRUE(IsWindowEnabled(OpenButton));
}

} // namespace
