#include "system/CommandLineScan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

static void Collect(const char* path, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(path);
}

static std::vector<std::string> Scan(const std::string& text) {
    std::vector<std::string> paths;
    int count = ScanCommandLine(text.c_str(), Collect, &paths);
    EXPECT_EQ(count, static_cast<int>(paths.size()));
    return paths;
}

using Paths = std::vector<std::string>;

TEST(CommandLineScan, NothingQueuedForEmptyOrBlankText) {
    EXPECT_EQ(Scan(""), Paths{});
    EXPECT_EQ(Scan(" "), Paths{});
    EXPECT_EQ(Scan("     "), Paths{});
    EXPECT_EQ(Scan("\"\""), Paths{});
    EXPECT_EQ(Scan("  \"\"  \"\" "), Paths{});
    EXPECT_EQ(Scan("\""), Paths{});
}

TEST(CommandLineScan, SpacesSeparateInTextOrder) {
    EXPECT_EQ(Scan("D:\\a.txt D:\\b.txt"), (Paths{"D:\\a.txt", "D:\\b.txt"}));
    EXPECT_EQ(Scan("a  b"), (Paths{"a", "b"}));
    EXPECT_EQ(Scan("   a   b   "), (Paths{"a", "b"}));
    EXPECT_EQ(Scan("z y x"), (Paths{"z", "y", "x"}));
}

TEST(CommandLineScan, TabIsPartOfThePath) {
    EXPECT_EQ(Scan("a\tb"), Paths{"a\tb"});
    EXPECT_EQ(Scan("\ta b\t"), (Paths{"\ta", "b\t"}));
}

TEST(CommandLineScan, QuotedPathKeepsItsSpaces) {
    EXPECT_EQ(Scan("\"D:\\My Files\\a.txt\""), Paths{"D:\\My Files\\a.txt"});
    EXPECT_EQ(Scan("x \"D:\\My Files\\a.txt\" y"), (Paths{"x", "D:\\My Files\\a.txt", "y"}));
    EXPECT_EQ(Scan("\"  two  spaces  \""), Paths{"  two  spaces  "});
}

TEST(CommandLineScan, UnterminatedQuoteRunsToTheEnd) {
    EXPECT_EQ(Scan("a \"D:\\My Files\\b c"), (Paths{"a", "D:\\My Files\\b c"}));
    EXPECT_EQ(Scan("\"x \"y"), (Paths{"x ", "y"}));
}

TEST(CommandLineScan, QuoteInsideUnquotedPathIsOrdinary) {
    EXPECT_EQ(Scan("x\"y z"), (Paths{"x\"y", "z"}));
    EXPECT_EQ(Scan("ab\"\" c"), (Paths{"ab\"\"", "c"}));
}

TEST(CommandLineScan, QuotedPathFollowedDirectlyByTextGivesTwoPaths) {
    EXPECT_EQ(Scan("\"x\"y"), (Paths{"x", "y"}));
    EXPECT_EQ(Scan("\"x\"\"y z\""), (Paths{"x", "y z"}));
    EXPECT_EQ(Scan("\"\"y"), Paths{"y"});
}

TEST(CommandLineScan, PathsAreNotValidated) {
    EXPECT_EQ(Scan("C:\\ nul ?*<> \\\\server\\share"),
              (Paths{"C:\\", "nul", "?*<>", "\\\\server\\share"}));
}

// A path cut short may name another existing file, whose checksum would then
// be shown for the one asked for.
TEST(CommandLineScan, LongPathsAreHandedOnWhole) {
    std::string path300 = "C:\\" + std::string(297, 'p');
    ASSERT_EQ(path300.size(), 300u);
    EXPECT_EQ(Scan(path300), Paths{path300});
    std::string quoted = "C:\\with space\\" + std::string(286, 'q');
    ASSERT_EQ(quoted.size(), 300u);
    EXPECT_EQ(Scan("\"" + quoted + "\" " + path300), (Paths{quoted, path300}));

    std::string longest(kMaxHandedPath, 'l');
    EXPECT_EQ(Scan(longest + " b"), (Paths{longest, "b"}));
}

TEST(CommandLineScan, OverlongPathIsMarkedNeverCut) {
    const std::string mark = kOverlongMark;
    for (size_t length :
         {static_cast<size_t>(kMaxHandedPath) + 1, static_cast<size_t>(kMaxHandedPath) + 5000}) {
        std::string path;
        for (size_t i = 0; path.size() < length; ++i)
            path += static_cast<char>('a' + i % 26);
        Paths got = Scan("\"" + path + "\" next");
        ASSERT_EQ(got.size(), 2u) << length;
        const std::string& handed = got[0];
        EXPECT_EQ(handed.size(), static_cast<size_t>(kMaxHandedPath));
        EXPECT_EQ(handed.substr(handed.size() - mark.size()), mark);
        EXPECT_EQ(handed.substr(0, handed.size() - mark.size()),
                  path.substr(0, handed.size() - mark.size()));
        // The scan goes on after the long path.
        EXPECT_EQ(got[1], "next");
    }
}
