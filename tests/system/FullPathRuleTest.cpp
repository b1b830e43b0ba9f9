#include "system/FullPathRule.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const wchar_t* path;
    const wchar_t* base;
    const wchar_t* full;
};

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

} // namespace

// Each name stays as written (trailing dots and blanks, device names), while
// ".", ".." and separators are worked out as the system would.
TEST(FullPathRule, NamesStayAsWrittenAndDotsAreWorkedOut) {
    const Case cases[] = {
        {L"td.txt.", L"C:\\work", L"C:\\work\\td.txt."},
        {L"nul.txt", L"C:\\work", L"C:\\work\\nul.txt"},
        {L"sub\\aux.h ", L"C:\\work\\", L"C:\\work\\sub\\aux.h "},
        {L"C:/a//b/./c/../d/", L"", L"C:\\a\\b\\d"},
        {L"..\\..\\..\\x", L"C:\\work", L"C:\\x"},
        {L"..", L"C:\\", L"C:\\"},
        {L"C:\\", L"", L"C:\\"},
        {L"\\x", L"D:\\work", L"D:\\x"},
        {L"\\x", L"\\\\server\\share\\work", L"\\\\server\\share\\x"},
        {L"D:name", L"D:\\current of D", L"D:\\current of D\\name"},
        {L"\\\\server\\share\\a\\..\\b", L"", L"\\\\server\\share\\b"},
        {L"\\\\server\\share", L"", L"\\\\server\\share\\"},
        {L"\\\\?\\C:\\a\\..\\b.", L"", L"\\\\?\\C:\\a\\..\\b."},
        {L"\\\\.\\pipe\\x", L"", L"\\\\.\\pipe\\x"},
        {L"", L"C:\\work", L""},
        {L"relative", L"", L""},
        {L"relative", L"not full", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Narrow(MakeFullPath(c.path, c.base)), Narrow(c.full))
            << Narrow(c.path) << " against " << Narrow(c.base);
}

TEST(FullPathRule, LiteralFormOfDriveAndNetworkPaths) {
    EXPECT_EQ(Narrow(LiteralForm(L"C:\\a\\td.txt.")), "\\\\?\\C:\\a\\td.txt.");
    EXPECT_EQ(Narrow(LiteralForm(L"\\\\server\\share\\a")), "\\\\?\\UNC\\server\\share\\a");
    EXPECT_EQ(Narrow(LiteralForm(L"\\\\?\\C:\\a")), "\\\\?\\C:\\a");
}
