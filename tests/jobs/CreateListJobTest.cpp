// The create job over real folder trees, with the main dialog in-process.
#include "jobs/CreateListJob.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobs/JobRunner.h"
#include "tests/jobs/JobTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UnixTools.h"
#include "ui/ListWindow.h"

namespace {

class CreateListJobTest : public JobWindowTest {
  protected:
    void TearDown() override {
        if (ListWindow)
            DestroyWindow(ListWindow);
    }
    void StartCreate(const std::string& folder, const std::string& target) {
        StartWatchedJob(folder + '\n' + target, CreateListThread, kJobStackReserve);
    }
};

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(entry.cFileName);
    while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

// Saved in the chosen folder, the list names its files relative to it, in
// the order of their paths without regard to case, hidden ones too, and
// leaves itself out: byte for byte what md5sum writes for them in that order.
TEST_F(CreateListJobTest, ListInTheFolderIsWhatMd5sumWritesForItsFiles) {
    if (RunUnix("md5sum --version") != 0)
        GTEST_SKIP() << "md5sum is not present";
    ScratchFolder tree;
    ASSERT_TRUE(MakeFolder(tree.Path() + "\\sub"));
    const std::vector<std::string> names = {"a b.txt", "B.txt", "sub/c d.txt",
                                            "Zeta \xc3\xbc\xe2\x82\xac.txt"};
    for (const std::string& name : names) {
        std::string windows = name;
        for (char& c : windows)
            c = c == '/' ? '\\' : c;
        tree.WriteFile(windows, "bytes of " + name + "\n");
    }
    SetFileAttributesA((tree.Path() + "\\B.txt").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const std::string target = tree.WriteFile("All.md5", "an older list\n");

    StartCreate(tree.Path(), target);
    ASSERT_TRUE(WaitForJobEnd());

    std::string written;
    ASSERT_TRUE(ReadFileBytes(target, &written));
    std::string command = "cd '" + UnixPathOf(tree.Path()) + "' && md5sum";
    for (const std::string& name : names)
        command += " '" + name + "'";
    std::string expected;
    ASSERT_EQ(RunUnix(command, &expected), 0) << expected;
    EXPECT_EQ(written, expected);
    for (const std::string& name : FolderNames(tree.Path()))
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << "a temporary file is left: " << name;
}

// A stop while a file is hashed leaves no list and no temporary file, and a
// file of the list's name as it was.
TEST_F(CreateListJobTest, StopLeavesNoFileAndKeepsAnExistingOne) {
    ScratchFolder tree;
    ScratchFolder lists;
    {
        // A large file without its bytes on the disk, hashed first.
        HANDLE file = CreateFileA((tree.Path() + "\\a large file.bin").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = 1LL << 30;
        SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
    }
    tree.WriteFile("b.txt", "b");
    const std::string kept = lists.WriteFile("kept.md5", "an older list\n");

    for (const std::string& target : {lists.Path() + "\\new.md5", kept}) {
        SCOPED_TRACE(target);
        StartCreate(tree.Path(), target);
        ASSERT_TRUE(WaitUntil([] { return ListWindow != nullptr && JobState.load() == Listing; }));
        SendMessageA(ListWindow, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitForJobEnd());
        EXPECT_EQ(FolderNames(lists.Path()), (std::vector<std::string>{".", "..", "kept.md5"}));
        std::string bytes;
        ASSERT_TRUE(ReadFileBytes(kept, &bytes));
        EXPECT_EQ(bytes, "an older list\n");
        DestroyWindow(ListWindow);
    }
}

} // namespace
