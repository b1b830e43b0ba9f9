// Searches over folders without access rights and over a drive root. The tree
// and the drive letter come from tests/modules/search-unprivileged.sh, which also
// runs these tests without the capabilities that let root read any folder;
// in the ordinary run they are skipped.
#include "jobs/SearchJob.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "tests/jobs/JobTestSupport.h"
#include "tests/support/AppDriver.h"
#include "tests/support/BoxWatch.h"
#include "ui/MainWindow.h"

namespace {

class SearchUnprivilegedTest : public JobWindowTest {
  protected:
    void SetUp() override {
        const char* tree = getenv("CALVERIN_UNPRIVILEGED_TREE");
        const char* drive = getenv("CALVERIN_UNPRIVILEGED_DRIVE");
        if (!tree || !drive)
            GTEST_SKIP() << "run by tests/modules/search-unprivileged.sh";
        tree_ = tree;
        drive_ = drive;
        JobWindowTest::SetUp();
    }

    // True when this process really cannot list the folder.
    static bool Denied(const std::string& folder) {
        WIN32_FIND_DATAA entry;
        HANDLE listing = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
        DWORD error = GetLastError();
        if (listing != INVALID_HANDLE_VALUE) {
            FindClose(listing);
            return false;
        }
        return error == ERROR_ACCESS_DENIED;
    }

    std::string tree_;
    std::string drive_;
};

TEST_F(SearchUnprivilegedTest, SubfolderWithoutAccessIsPassedOverInSilence) {
    ASSERT_TRUE(Denied(tree_ + "\\open\\locked")) << "the process must not pass permissions";
    TypeTarget(ReferenceMd5("a"));
    BoxCloser noReport("Error", 1000);
    SearchRun run = Search(tree_ + "\\open");
    EXPECT_FALSE(noReport.Stop().found);
    ASSERT_EQ(run.matches.size(), 1u);
    EXPECT_EQ(run.matches[0].infoPath, ShortUpper(tree_ + "\\open\\a.txt"));
    ASSERT_TRUE(run.summary.found);
    EXPECT_EQ(run.summary.text, "Searched 2 files, found 1 file(s) with a matching MD5 checksum.");
}

TEST_F(SearchUnprivilegedTest, ChosenFolderWithoutAccessIsReportedWithoutSummary) {
    ASSERT_TRUE(Denied(tree_ + "\\closed"));
    TypeTarget(ReferenceMd5("a"));
    BoxCloser report("Error");
    SearchRun run = Search(tree_ + "\\closed");
    const FoundBox& box = report.Result();
    ASSERT_TRUE(box.found);
    std::string head = "Could not search directory: " + tree_ + "\\closed\n\n";
    EXPECT_EQ(box.text.rfind(head, 0), 0u) << box.text;
    char denied[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_ACCESS_DENIED, 0, denied, sizeof denied, nullptr);
    EXPECT_EQ(box.text.substr(head.size()), denied) << "the system's text for the denial";
    EXPECT_FALSE(run.summary.found);
    EXPECT_TRUE(run.matches.empty());
    EXPECT_EQ(WindowText(StatusButton), "Calverin");
    EXPECT_TRUE(IsWindowEnabled(OpenButton));
}

TEST_F(SearchUnprivilegedTest, DriveRootWithItsBackslashIsListedAsTheRoot) {
    TypeTarget(ReferenceMd5("root"));
    SearchRun run = Search(drive_ + "\\");
    ASSERT_TRUE(run.summary.found);
    EXPECT_EQ(run.summary.text, "Searched 2 files, found 2 file(s) with a matching MD5 checksum.");
    std::set<std::string> found;
    for (const SearchMatch& match : run.matches)
        found.insert(match.infoPath);
    EXPECT_EQ(found, (std::set<std::string>{drive_ + "\\ONE.TXT", drive_ + "\\SUB\\TWO.TXT"}));
}

} // namespace
