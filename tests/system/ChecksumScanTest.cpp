#include "system/ChecksumScan.h"
#include "tests/support/ChecksumLayouts.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kDigits[] = "0123456789abcdefABCDEF0123456789";

std::string Grouped(size_t size, const std::vector<std::string>& separators) {
    return GroupedChecksum(kDigits, size, separators);
}

// Scans the whole string (embedded zeros included) and reports the digits.
bool Scan(const std::string& text, std::string* digits = nullptr) {
    char buffer[kChecksumLength + 1];
    std::memset(buffer, 'x', sizeof buffer);
    bool accepted = ScanChecksum(text.data(), text.size(), buffer);
    if (digits)
        *digits = buffer;
    return accepted;
}

} // namespace

TEST(ChecksumScan, AcceptsEveryCommonLayoutKeepingCase) {
    const std::string accepted[] = {
        kDigits,
        std::string(kDigits) + "  some file.iso",
        std::string(kDigits) + "\tname",
        std::string(kDigits) + "\r\nnext line",
        std::string(kDigits) + "\nx",
        Grouped(2, {" "}),
        Grouped(4, {" "}),
        Grouped(8, {" "}),
        Grouped(16, {" "}),
        Grouped(16, {"\r\n"}),
        Grouped(16, {"\n"}),
        Grouped(16, {"\r"}),
        Grouped(8, {"\r\n"}),
        Grouped(8, {" ", "\r\n"}),     // two groups a line, CR LF between lines
        Grouped(8, {"\n", " ", "\r"}), // blanks and breaks mixed
        " \t\r\n\n  " + std::string(kDigits),
        "\r\n" + Grouped(8, {"\r\n"}) + "\r\n",
    };
    for (const std::string& text : accepted) {
        std::string digits;
        EXPECT_TRUE(Scan(text, &digits)) << '"' << text << '"';
        EXPECT_EQ(digits, kDigits) << '"' << text << '"';
    }
}

TEST(ChecksumScan, RejectsWhatIsNoChecksum) {
    const std::string full(kDigits);
    const std::string rejected[] = {
        "",
        "   \r\n\t",
        full.substr(0, 31),
        full.substr(0, 31) + " name",
        full + "0", // 33 digits in a row
        full + "g", // a non-separator right after digit 32
        full + ":",
        Grouped(4, {"\r\n"}), // line breaks only between groups of 8 or 16
        Grouped(4, {"\n"}),
        Grouped(2, {"\r\n"}),
        Grouped(4, {"  "}),    // two blanks make an empty group
        "MD5 (file): " + full, // a label before the digits
        "name: " + full,
        Grouped(8, {"\t"}),                           // a tab between groups
        Grouped(8, {"\n\r"}),                         // LF CR: a break, then an empty group
        Grouped(8, {"\r\n\r\n"}),                     // a blank line between groups
        Grouped(16, {" \r\n"}),                       // blank and break: an empty group
        "012 345 678 9ab cde f01 234 567 89a bcd ef", // odd group length
        "0 1 2 3 4 5 6 7 8 9 a b c d e f 0 1 2 3 4 5 6 7 8 9 a b c d e f",
        "0123 45678901 2345 6789abcd ef01 2345 6789 abcd", // later group longer than L
        "01 " + full.substr(2) + " x",                     // the last group longer than L
        "0123 4567 89ab cdef 0123 4567 89ab cd",           // 30 digits then end
    };
    for (const std::string& text : rejected)
        EXPECT_FALSE(Scan(text)) << '"' << text << '"';
}

TEST(ChecksumScan, LastGroupMayBeShorterThanTheGroupLength) {
    // Groups of 6: five full ones and a final pair.
    std::string digits;
    EXPECT_TRUE(Scan("012345 6789ab cdefAB CDEF01 234567 89", &digits));
    EXPECT_EQ(digits, kDigits);
}

TEST(ChecksumScan, NeverReadsBeyondTheGivenLength) {
    // A block without its terminating zero: the digits run up to its end.
    std::string text(kDigits);
    std::string digits;
    char* block = new char[text.size()];
    std::memcpy(block, text.data(), text.size());
    char buffer[kChecksumLength + 1];
    EXPECT_TRUE(ScanChecksum(block, text.size(), buffer));
    EXPECT_STREQ(buffer, kDigits);
    // Cut one short, the same block holds only 31 digits.
    EXPECT_FALSE(ScanChecksum(block, text.size() - 1, buffer));
    delete[] block;

    // A zero inside the length ends the text as well.
    EXPECT_TRUE(Scan(text + std::string("\0"
                                        "00",
                                        3)));
    EXPECT_FALSE(Scan(text.substr(0, 16) + std::string("\0", 1) + text.substr(16)));
}
