// The main dialog in-process for the search and benchmark jobs, and the
// folder trees they walk.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/BoxWatch.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/MainWindowTestSupport.h"

// What the window showed while the search waited at a match.
struct SearchMatch {
    std::string status;
    bool statusEnabled = false;
    bool openEnabled = false;
    std::string field2;
    std::string openText;
    std::string infoPath; // field 2's record: the full short path, upper case
};

struct SearchRun {
    FoundBox summary;
    std::vector<SearchMatch> matches;
};

bool MakeFolder(const std::string& path);
// The full short form of an existing path, in upper case.
std::string ShortUpper(const std::string& path);

class JobWindowTest : public testing::Test, protected MainWindowTestBase {
  protected:
    void SetUp() override;
    // Field 1 holds a checksum typed or pasted: no file facts.
    void TypeTarget(const std::string& checksum);
    // Field 1 holds the checksum of a file, as the hash-files job puts it there.
    void TargetFromFile(const std::string& path, const std::string& bytes);
    // Queues a job and lets it run; WaitForJobEnd sees its worker end.
    void StartWatchedJob(const std::string& path, LPTHREAD_START_ROUTINE routine,
                         SIZE_T stackReserve);
    // Queues the search and lets it run.
    void StartSearch(const std::string& folder);
    // Waits until the job's worker has ended and takes the run token back.
    bool WaitForJobEnd(DWORD timeoutMs = 30000);
    // Runs a search to its end, going on at every match, and reads the summary.
    SearchRun Search(const std::string& folder, DWORD timeoutMs = 30000);
};
