#include "system/ListPath.h"

#include <gtest/gtest.h>

#include <string>

TEST(ListPath, NamesResolveAgainstTheListsFolderOrTheirOwnRoot) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* name;
        const wchar_t* full; // null: only the system can make it full
    };
    const Case cases[] = {
        {L"C:\\dl", L"a.txt", L"C:\\dl\\a.txt"},
        {L"C:\\dl\\", L"sub/x\\y", L"C:\\dl\\sub\\x\\y"},
        {L"C:\\dl\\sub", L"./a//../../b.", L"C:\\dl\\b."},
        {L"C:\\dl", L"../../../nul.txt ", L"C:\\nul.txt "},
        {L"C:\\dl", L"a/", L"C:\\dl\\a\\"},
        {L"C:\\dl", L"", L"C:\\dl"},
        {L"C:\\", L"..", L"C:\\"},
        {L"C:\\dl", L"/etc/x", L"C:\\etc\\x"},
        {L"\\\\srv\\share\\dl", L"\\x", L"\\\\srv\\share\\x"},
        {L"\\\\srv\\share\\dl", L"../../x", L"\\\\srv\\share\\x"},
        {L"\\\\?\\C:\\dl", L"../x", L"\\\\?\\C:\\x"},
        {L"\\\\?\\UNC\\srv\\share\\dl", L"..\\..\\x", L"\\\\?\\UNC\\srv\\share\\x"},
        {L"C:\\dl", L"D:/data/../x", L"D:\\x"},
        {L"C:\\dl", L"//srv/share/a/../b", L"\\\\srv\\share\\b"},
        {L"C:\\dl", L"\\\\?\\D:\\a\\..\\b", L"\\\\?\\D:\\a\\..\\b"},
        {L"C:\\dl", L"//./pipe/p", L"//./pipe/p"},
        {L"C:\\dl", L"D:x", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        std::wstring full;
        ASSERT_EQ(ListNameFullPath(c.folder, c.name, &full), c.full != nullptr);
        if (c.full != nullptr) {
            EXPECT_EQ(full, c.full);
        }
    }
    EXPECT_EQ(ListNameRootOf(L"C:"), ListNameRoot::DriveRelative);
    EXPECT_EQ(ListNameParts(L"\\\\srv\\share\\a//b\\"),
              (std::vector<std::wstring_view>{L"a", L"b"}));
}

TEST(ListPath, NamesAreRelativeOnlyWhenTheListIsInTheFolderOrAbove) {
    struct Case {
        const wchar_t* chosen;
        const wchar_t* list;
        bool relative;
        const wchar_t* prefix;
    };
    const Case cases[] = {
        {L"C:\\Pics\\Photos", L"C:\\Pics\\Photos", true, L""},
        {L"C:\\Pics\\Photos", L"c:\\pics\\", true, L"Photos\\"},
        {L"C:\\Pics\\Photos\\2024", L"C:\\", true, L"Pics\\Photos\\2024\\"},
        {L"C:\\Pics\\Photos", L"C:\\Pics\\Photos\\Lists", false, L"C:\\Pics\\Photos\\"},
        {L"C:\\Pics\\Photos", L"C:\\Pics\\Photo", false, L"C:\\Pics\\Photos\\"},
        {L"E:\\", L"C:\\Users\\me", false, L"E:\\"},
        {L"\\\\srv\\share\\a", L"\\\\SRV\\Share", true, L"a\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chosen << L" in " << c.list);
        std::wstring prefix = L"old";
        EXPECT_EQ(ListNamePrefix(c.chosen, c.list, &prefix), c.relative);
        EXPECT_EQ(prefix, c.prefix);
    }
}

TEST(ListPath, OrderIsOrdinalWithLettersUpperCased) {
    // Upper-casing puts letters before '_' and '\' (lower-casing would not).
    EXPECT_LT(CompareListPaths(L"a", L"_"), 0);
    EXPECT_LT(CompareListPaths(L"sub\\B", L"sub\\c"), 0);
    EXPECT_LT(CompareListPaths(L"a.txt", L"a\\x"), 0);
    EXPECT_LT(CompareListPaths(L"ab", L"ABC"), 0);
    EXPECT_EQ(CompareListPaths(L"Read Me", L"rEAD mE"), 0);
    EXPECT_GT(CompareListPaths(L"\u00e9", L"z"), 0);
}
