// What the hash job meets when it opens a handed-on path: a long path handed
// on whole cannot open the file that its first 259 characters would name.
#include "system/CommandLineScan.h"
#include "system/WidePath.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Collect(const char* path, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(path);
}

// As the hash job opens it.
DWORD OpenError(const std::string& path) {
    ScopedFile file = OpenPath(path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    return file ? ERROR_SUCCESS : GetLastError();
}

// A file whose full path is exactly 259 characters, the most a 260-character
// buffer keeps.
std::string MakeFileOf259(const ScratchFolder& folder) {
    std::string dir = folder.Path() + "\\" + std::string(100, 'd');
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string name = dir + "\\";
    name += std::string(259 - name.size(), 'f');
    folder.WriteFile(name.substr(folder.Path().size() + 1), "cut");
    return name;
}

TEST(CommandLine, LongPathReachesTheJobWholeAndFailsToOpen) {
    ScratchFolder folder;
    std::string prefix = MakeFileOf259(folder);
    ASSERT_EQ(prefix.size(), 259u);
    ASSERT_EQ(OpenError(prefix), static_cast<DWORD>(ERROR_SUCCESS));

    std::string asked = prefix + std::string(41, 'x'); // 300 characters
    std::vector<std::string> paths;
    ScanCommandLine(("\"" + asked + "\"").c_str(), Collect, &paths);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], asked);
    // Cut to 259 characters, it would have opened the other file.
    EXPECT_EQ(OpenError(paths[0]), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(CommandLine, OverlongPathFailsWithNameTooLong) {
    ScratchFolder folder;
    std::string prefix = MakeFileOf259(folder);
    std::string asked = prefix + std::string(kMaxHandedPath, 'x');
    std::vector<std::string> paths;
    ScanCommandLine(asked.c_str(), Collect, &paths);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0].size(), static_cast<size_t>(kMaxHandedPath));
    EXPECT_EQ(paths[0].compare(0, prefix.size(), prefix), 0);
    EXPECT_EQ(OpenError(paths[0]), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

} // namespace
