// The checksum search over real folder trees, with the main dialog in-process.
#include "jobs/SearchJob.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "jobs/JobRunner.h"
#include "system/FileFacts.h"
#include "res/resource.h"
#include "tests/jobs/JobTestSupport.h"
#include "tests/support/AppDriver.h"
#include "tests/support/BoxWatch.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UnixTools.h"
#include "tests/ui/DialogTestSupport.h"
#include "ui/Comparison.h"
#include "ui/MainWindow.h"

namespace {

const std::string kTarget = "the bytes that every copy holds\r\n";
const std::string kSameSize = "THE BYTES THAT EVERY COPY HOLDS\r\n"; // same length, other sum

class SearchJobTest : public JobWindowTest {};

// Lists every folder named "empty" as the system lists an empty drive root,
// which has no "." and ".." entries: not found.
HANDLE WINAPI ListEmptyAsRoot(LPCWSTR pattern, LPWIN32_FIND_DATAW entry) {
    const std::wstring kEmpty = L"\\empty\\*";
    const std::wstring listed = pattern;
    if (listed.size() >= kEmpty.size() &&
        lstrcmpiW(listed.c_str() + listed.size() - kEmpty.size(), kEmpty.c_str()) == 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return FindFirstFileW(pattern, entry);
}

// Folders "d" one inside the other below root, so that the last one is at
// the search's level levels (root being level 1); returns its path.
std::string MakeDeepTree(const std::string& root, int levels) {
    std::string folder = root;
    for (int level = 2; level <= levels; ++level) {
        folder += "\\d";
        if (!MakeFolderLong(folder))
            return std::string();
    }
    return folder;
}

TEST_F(SearchJobTest, FileTargetSkipsItselfReadsOnlyItsSizeAndFindsCopies) {
    ScratchFolder tree;
    std::string target = tree.WriteFile("target.bin", kTarget);
    std::string copy1 = tree.WriteFile("copy.bin", kTarget);
    MakeFolder(tree.Path() + "\\A sub folder with a long name");
    std::string copy2 =
        tree.WriteFile("A sub folder with a long name\\second copy of the target.bin", kTarget);
    tree.WriteFile("A sub folder with a long name\\same size.bin", kSameSize);
    tree.WriteFile("small.txt", "small");
    tree.WriteFile("A sub folder with a long name\\bigger.txt", kTarget + "more");
    MakeFolder(tree.Path() + "\\hidden");
    SetFileAttributesA((tree.Path() + "\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    tree.WriteFile("hidden\\empty.txt", "");
    TargetFromFile(target, kTarget);

    SearchRun run = Search(tree.Path());

    ASSERT_TRUE(run.summary.found);
    EXPECT_EQ(run.summary.owner, window_);
    EXPECT_EQ(run.summary.text, "Searched 7 files, found 2 file(s) with a matching MD5 checksum.");
    EXPECT_EQ(FilesSearched.load(), 7u) << "every file entry counts, hidden folders too";
    EXPECT_EQ(FilesRead.load(), 3u) << "only the other files of the target's size are read";
    ASSERT_EQ(run.matches.size(), 2u);
    std::set<std::string> found;
    for (const SearchMatch& match : run.matches) {
        EXPECT_EQ(match.field2, ReferenceMd5(kTarget));
        found.insert(match.infoPath);
    }
    EXPECT_EQ(found, (std::set<std::string>{ShortUpper(copy1), ShortUpper(copy2)}));
}

// A name of CJK letters, a symbol and an emoji, dropped on the window and
// then searched for: the file itself is passed over as field 1's own, and
// its copy in a folder of that name is found and shown by its name.
TEST_F(SearchJobTest, NameOfAnyCharactersIsDroppedThenFoundByTheSearch) {
    ScratchFolder tree;
    const std::string name = "\xE8\xB3\x87\xE6\x96\x99 \xE2\x9C\x93 \xF0\x9F\x98\x80";
    const std::string dropped = tree.WriteFile(name + ".bin", kTarget);
    ASSERT_TRUE(MakeFolderLong(tree.Path() + "\\" + name));
    const std::string copy = tree.WriteFile(name + "\\" + name + " copy.bin", kTarget);
    SendMessageA(window_, WM_DROPFILES, (WPARAM)MakeDrop({dropped}), 0);
    ASSERT_TRUE(RunQueuedJobsUntil([] { return WindowText(Hash1Field) == ReferenceMd5(kTarget); }));
    EXPECT_EQ(ToLongPath(FieldInfo[0].path), dropped);

    SearchRun run = Search(tree.Path());
    ASSERT_EQ(run.matches.size(), 1u);
    EXPECT_EQ(ToLongPath(FieldInfo[1].path), copy);
    EXPECT_EQ(run.summary.text, "Searched 2 files, found 1 file(s) with a matching MD5 checksum.");
}

TEST_F(SearchJobTest, TypedTargetReadsEveryFileAndPausesAtEachMatch) {
    ScratchFolder tree;
    const std::string match = "match me";
    MakeFolder(tree.Path() + "\\one");
    MakeFolder(tree.Path() + "\\one\\two");
    std::string first = tree.WriteFile("one\\first match with a long name.txt", match);
    std::string second = tree.WriteFile("one\\two\\second.txt", match);
    std::string third = tree.WriteFile("third.txt", match);
    for (int i = 0; i < 5; ++i)
        tree.WriteFile("one\\other" + std::to_string(i) + ".txt", "other " + std::to_string(i));
    tree.WriteFile("one\\two\\empty.txt", "");
    // Typed in capitals: checksums compare without regard to case.
    std::string typed = ReferenceMd5(match);
    for (char& c : typed)
        c = (char)toupper((unsigned char)c);
    TypeTarget(typed);

    SearchRun run = Search(tree.Path());

    ASSERT_TRUE(run.summary.found);
    EXPECT_EQ(run.summary.text, "Searched 9 files, found 3 file(s) with a matching MD5 checksum.");
    EXPECT_EQ(FilesRead.load(), 9u) << "without file facts every file is read";
    ASSERT_EQ(run.matches.size(), 3u);
    std::set<std::string> found;
    for (const SearchMatch& m : run.matches) {
        EXPECT_EQ(m.status, "Continue searching >>>");
        EXPECT_TRUE(m.statusEnabled);
        EXPECT_FALSE(m.openEnabled);
        EXPECT_EQ(m.field2, ReferenceMd5(match));
        EXPECT_EQ(m.openText, "Compare") << "field 2 is compared with field 1";
        found.insert(m.infoPath);
    }
    EXPECT_EQ(found,
              (std::set<std::string>{ShortUpper(first), ShortUpper(second), ShortUpper(third)}));
    EXPECT_EQ(WindowText(StatusButton), "Calverin");
    EXPECT_FALSE(IsWindowEnabled(StatusButton));
    EXPECT_TRUE(IsWindowEnabled(OpenButton));
    EXPECT_EQ(JobState.load(), Idle);
}

TEST_F(SearchJobTest, DoubleClickOnContinueGoesOnOnce) {
    ScratchFolder tree;
    for (int i = 0; i < 3; ++i)
        tree.WriteFile("copy" + std::to_string(i) + ".txt", kTarget);
    TypeTarget(ReferenceMd5(kTarget));
    auto atMatch = [] {
        return JobState.load() == SearchPaused && GetWindowTextLengthA(Hash2Field) > 0;
    };
    BoxCloser summary("Search finished - Calverin", 30000);
    StartSearch(tree.Path());
    ASSERT_TRUE(WaitUntil(atMatch));
    ASSERT_EQ(WindowText(StatusButton), "Continue searching >>>");
    SetWindowTextA(Hash2Field, "");

    // Two presses through the system's input, the second once the search has
    // gone on (so that a cancel would hit it), well within the double-click time.
    RECT status;
    GetWindowRect(StatusButton, &status);
    POINT middle = {(status.left + status.right) / 2, (status.top + status.bottom) / 2};
    ClickPointer(middle);
    ASSERT_TRUE(WaitUntil(
        [] { return JobState.load() != SearchPaused || GetWindowTextLengthA(Hash2Field) > 0; }));
    ClickPointer(middle);

    // Every further match waits for its own click: none is passed over.
    int pauses = 1;
    while (WaitUntil([&] { return atMatch() || JobState.load() == Idle; }) && atMatch()) {
        ++pauses;
        SetWindowTextA(Hash2Field, "");
        SendMessageA(StatusButton, BM_CLICK, 0, 0);
    }
    const FoundBox& box = summary.Result();
    MovePointer(POINT{0, 0});
    ASSERT_TRUE(box.found) << "the double click cancelled the search";
    EXPECT_EQ(box.text, "Searched 3 files, found 3 file(s) with a matching MD5 checksum.");
    EXPECT_EQ(pauses, 3);
    EXPECT_TRUE(WaitForJobEnd());
}

TEST_F(SearchJobTest, EmptyFolderAndTrailingBackslashes) {
    ScratchFolder tree;
    TypeTarget(ReferenceMd5("nothing here"));
    SearchRun run = Search(tree.Path() + "\\\\");
    ASSERT_TRUE(run.summary.found);
    EXPECT_EQ(run.summary.text, "Searched 0 files, found 0 file(s) with a matching MD5 checksum.");

    // Trailing backslashes never double: the files below are still reached.
    tree.WriteFile("x.txt", "nothing here");
    run = Search(tree.Path() + "\\");
    ASSERT_EQ(run.matches.size(), 1u);
    EXPECT_EQ(run.matches[0].infoPath, ShortUpper(tree.Path() + "\\x.txt"));
    EXPECT_EQ(run.summary.text, "Searched 1 files, found 1 file(s) with a matching MD5 checksum.");
}

TEST_F(SearchJobTest, FolderListedAsNotFoundIsEmpty) {
    ScratchFolder tree;
    MakeFolder(tree.Path() + "\\empty");
    tree.WriteFile("empty\\unseen.txt", "found");
    tree.WriteFile("seen.txt", "found");
    TypeTarget(ReferenceMd5("found"));
    SearchFindFirst = ListEmptyAsRoot;
    BoxCloser noReport("Error", 1000);
    SearchRun top = Search(tree.Path() + "\\empty");
    SearchRun below = Search(tree.Path());
    SearchFindFirst = FindFirstFileW;
    EXPECT_FALSE(noReport.Stop().found);
    EXPECT_EQ(top.summary.text, "Searched 0 files, found 0 file(s) with a matching MD5 checksum.");
    EXPECT_EQ(below.summary.text,
              "Searched 1 files, found 1 file(s) with a matching MD5 checksum.");
}

TEST_F(SearchJobTest, FolderLinkBackToAnAncestorIsNotEnteredAgain) {
    ScratchFolder tree;
    std::string original = tree.WriteFile("a.bin", kTarget);
    MakeFolder(tree.Path() + "\\sub");
    std::string copy = tree.WriteFile("sub\\copy.bin", kTarget);
    // Wine shows a link to a folder as a folder link. Removed before the
    // tree, whose removal would follow it.
    struct Link {
        std::string path;
        ~Link() { RunUnix("rm -f '" + path + "'"); }
    } back{UnixPathOf(tree.Path() + "\\sub") + "/back"};
    ASSERT_EQ(RunUnix("ln -s '" + UnixPathOf(tree.Path()) + "' '" + back.path + "'"), 0);
    ASSERT_NE(GetFileAttributesA((tree.Path() + "\\sub\\back\\a.bin").c_str()),
              INVALID_FILE_ATTRIBUTES);
    TargetFromFile(original, kTarget);

    SearchRun run = Search(tree.Path());
    ASSERT_EQ(run.matches.size(), 1u);
    EXPECT_EQ(run.matches[0].infoPath, ShortUpper(copy));
    EXPECT_EQ(run.summary.text, "Searched 2 files, found 1 file(s) with a matching MD5 checksum.");
}

// Run by tests/modules/wow64-redirection.sh: a 32-bit program in a 64-bit
// prefix, whose system folder it sees only with redirection off.
TEST_F(SearchJobTest, Wow64SearchInTheSystemFolderReportsAndSums) {
    const char* tree = getenv("CALVERIN_WOW64_TREE");
    if (!tree)
        GTEST_SKIP() << "run by tests/modules/wow64-redirection.sh";
    ASSERT_EQ(GetFileAttributesA(tree), INVALID_FILE_ATTRIBUTES) << "redirected elsewhere";
    TypeTarget(ReferenceMd5("wow64"));
    BoxCloser report("Error");
    SearchRun run = Search(tree);
    // The folder too deep to enter, reported from the search's own thread.
    const FoundBox& box = report.Result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.text.rfind("Could not search directory: " + std::string(tree) + "\\d\\", 0), 0u)
        << box.text;
    ASSERT_EQ(run.matches.size(), 1u);
    EXPECT_EQ(run.summary.text, "Searched 1 files, found 1 file(s) with a matching MD5 checksum.");
}

TEST_F(SearchJobTest, MissingChosenFolderIsReportedWithoutSummary) {
    ScratchFolder tree;
    TypeTarget(ReferenceMd5("x"));
    std::string missing = tree.Path() + "\\not there";
    BoxCloser report("Error");
    SearchRun run = Search(missing);
    const FoundBox& box = report.Result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.owner, window_);
    EXPECT_EQ(box.text.rfind("Could not search directory: " + missing + "\n\n", 0), 0u) << box.text;
    EXPECT_GT(box.text.size(), ("Could not search directory: " + missing + "\n\n").size())
        << "the system's text for the error follows";
    EXPECT_FALSE(run.summary.found);
    EXPECT_EQ(WindowText(StatusButton), "Calverin");
    EXPECT_TRUE(IsWindowEnabled(OpenButton));
}

// Far beyond MAX_PATH's depth, the deepest level the search enters: a
// match there pauses the search with its box room on the worker's stack.
TEST_F(SearchJobTest, DeepestLevelIsSearchedToTheBottom) {
    ScratchFolder root(ScratchFolder::kDriveRoot);
    std::string folder = MakeDeepTree(root.Path(), kDeepestSearchLevel);
    ASSERT_FALSE(folder.empty());
    std::string bottom = folder + "\\b";
    ASSERT_TRUE(WriteFileBytes(bottom, "at the bottom"));
    TypeTarget(ReferenceMd5("at the bottom"));

    BoxCloser noReport("Error", 1000);
    SearchRun run = Search(root.Path());
    EXPECT_FALSE(noReport.Stop().found);
    ASSERT_EQ(run.matches.size(), 1u);
    EXPECT_STRCASEEQ(run.matches[0].infoPath.c_str(), bottom.c_str());
    EXPECT_EQ(run.summary.text, "Searched 1 files, found 1 file(s) with a matching MD5 checksum.");
}

TEST_F(SearchJobTest, MatchWhoseLongPathPassesMaxPathKeepsItsFileFacts) {
    ScratchFolder root(ScratchFolder::kDriveRoot);
    // Short names keep the search's own path short; the long form is longer
    // than MAX_PATH.
    std::string folder = root.Path();
    for (int i = 0; i < 3; ++i) {
        folder += "\\" + std::string(90, (char)('a' + i)) + " folder";
        ASSERT_TRUE(MakeFolderLong(folder));
    }
    std::string file = folder + "\\found.txt";
    ASSERT_GT(file.size(), (size_t)MAX_PATH);
    std::wstring wide(file.begin(), file.end());
    HANDLE handle = CreateFileW((L"\\\\?\\" + wide).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(handle, "deep", 4, &written, nullptr);
    CloseHandle(handle);
    TypeTarget(ReferenceMd5("deep"));

    SearchRun run = Search(root.Path());
    ASSERT_EQ(run.matches.size(), 1u);
    EXPECT_EQ(run.matches[0].field2, ReferenceMd5("deep"));
    EXPECT_LT(run.matches[0].infoPath.size(), (size_t)MAX_PATH);
    EXPECT_NE(run.matches[0].infoPath.find("\\FOUND.TXT"), std::string::npos)
        << run.matches[0].infoPath;
    EXPECT_EQ(FieldInfo[1].sizeLow, 4u) << "the record holds the found file's facts";
    EXPECT_EQ(FieldInfo[1].sizeHigh, 0u);
    EXPECT_EQ(run.summary.text, "Searched 1 files, found 1 file(s) with a matching MD5 checksum.");
}

TEST_F(SearchJobTest, FolderTooDeepToEnterIsReportedAndCancelEndsWithoutSummary) {
    ScratchFolder root(ScratchFolder::kDriveRoot);
    // One level deeper than the search enters.
    std::string folder = MakeDeepTree(root.Path(), kDeepestSearchLevel + 1);
    ASSERT_FALSE(folder.empty());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(WriteFileBytes(root.Path() + "\\f" + std::to_string(i), "f"));
    TypeTarget(ReferenceMd5("no file holds this"));

    SearchRun run;
    {
        BoxCloser summary("Search finished - Calverin", 1000);
        StartSearch(root.Path());
        // The worker shows the report and waits; the search still runs.
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = FindBox("Error", window_)) != nullptr; }));
        FoundBox report = ReadBox(box);
        EXPECT_EQ(report.text.rfind("Could not search directory: " + folder + "\n\n", 0), 0u)
            << report.text;
        EXPECT_EQ(JobState.load(), Searching);
        EXPECT_EQ(WindowText(StatusButton), "[  Searching checksum  ]");

        SendMessageA(StatusButton, BM_CLICK, 0, 0); // cancel
        EXPECT_EQ(JobState.load(), Idle);
        CloseBox(box);
        ASSERT_TRUE(WaitForJobEnd());
        EXPECT_FALSE(summary.Stop().found) << "a cancelled search shows no summary";
    }
    EXPECT_EQ(WindowText(StatusButton), "Calverin");
    EXPECT_FALSE(IsWindowEnabled(StatusButton));
    EXPECT_TRUE(IsWindowEnabled(OpenButton));
    EXPECT_EQ(JobState.load(), Idle);
}

} // namespace
