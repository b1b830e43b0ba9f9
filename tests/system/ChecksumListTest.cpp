#include "system/ChecksumList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

// The MD5 of "abc", the content of every file the md5sum comparison creates,
// in both cases; OTHER is the MD5 of "", so its entries are FAILED.
#define H "900150983cd24fb0d6963f7d28e17f72"
#define HU "900150983CD24FB0D6963F7D28E17F72"
#define OTHER "d41d8cd98f00b204e9800998ecf8427e"

namespace {

struct Row {
    std::string list;
    // Per entry: T, B, G (tag) or O (one blank), '\' when escaped, [name],
    // '!' when the digest is not that of "abc", '~' when not UTF-8; then
    // " +N" for N lines not understood.
    const char* expected;
    bool sameAsMd5sum; // false where the list is read as a Windows user means it
};

#define ROW(bytes, expected)                                                                       \
    { std::string(bytes, sizeof(bytes) - 1), expected, true }
#define WINDOWS_ROW(bytes, expected)                                                               \
    { std::string(bytes, sizeof(bytes) - 1), expected, false }

const Row kRows[] = {
    ROW(H "  a\n" H " *a\n"
          "  \t" HU "  a\r\n" OTHER "  a",
        "T[a]B[a]T[a]T[a]!"),
    ROW(H "\t*a\n" H "\t a\n"
          "\t" H "  a\r",
        "B[a]T[a]T[a]"),
    ROW("MD5 (a) = " H "\nMD5(a)= " H "\nMD5 (a)=" H "\nMD5 (a)\t=\t" HU "\n", "G[a]G[a]G[a]G[a]"),
    ROW(H "  a\nMD5  (a) = " H "\nMD5\t(a) = " H "\nmd5 (a) = " H "\nMD5 (a) = " H
          " \nMD5 (a) == " H "\nMD5 (a = " H "\nMD5 (a) = " H ")\nMD5 (a) " H "\nMD5 (\n",
        "T[a] +9"),
    ROW("MD5 (a)b) = " H "\nMD5 () = " H "\nMD5 (a\0b) = " H "\nMD5 (a) = " H "\0junk\n"
        "MD5 (a)\0 = " H "\nMD5 (a) = \0" H "\n",
        "G[a)b]G[]G[a]G[a] +2"),
    ROW("\\" H "  a\\\\b\\nc\\rd\n\\MD5 (a\\nb) = " H "\n\\MD5 (a\\\\) = " H "\n  \\" H "  a\n",
        "T\\[a\\b\nc\rd]G\\[a\nb]G\\[a\\]T\\[a]"),
    ROW("\\" H "  a\\tb\n\\" H "  a\\\n\\" H "  a\0b\n\\MD5 (a\\) = " H "\n\\  " H "  a\n" H
        "  a\\nb\n",
        "T[a\\nb] +5"),
    ROW("#x\n\n\r\n" H "  a\n # x\n   \n\t\n\r\r\n\\\n\0\n" H "\n" H " \n" H "0  a\n" H "x a\n"
        "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz  a\n900150983cd24fb0d6963f7d28e17f7  a\n",
        "T[a] +12"),
    ROW(H "  a\0zz\n" H "  \0zz\n" H "  \xc3\xa9\n" H "  \xe9\n", "T[a]T[]T[\xc3\xa9]T[\xe9]~"),
    // The first line with valid digits fixes the layout for the whole list,
    // even when the rest of that line is refused.
    ROW(H " a\n" H "  a\n" H " *a\n" H "\t\ta\n", "O[a]O[ a]O[*a]O[\ta]"),
    ROW(H "  a\n" H " a\n", "T[a] +1"),
    ROW("MD5 (a) = " H "\n" H " a\n" H "  a\n", "G[a]O[a]O[ a]"),
    ROW("zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz a\n" H "  a\n" H " a\n", "T[a] +2"),
    ROW("\\" H " a\\q\n" H "  a\n", "O[ a] +1"),
    ROW(H "  \n" H "  a\n" H " \0\n", "O[ ]O[ a]O[]"),
    // Every warning in its plural form.
    ROW(H "  b\n" OTHER "  b\n" OTHER "  c\n" H "  no/q\n" H "  no/r\nbad\nbad\n",
        "T[b]T[b]!T[c]!T[no/q]T[no/r] +2"),
    // md5sum prints a name holding only a CR unescaped; the report escapes it.
    WINDOWS_ROW(H "  a\r\r\n", "T[a\r]"),
    WINDOWS_ROW("\xEF\xBB\xBF#x\n" H "  a\n\xEF\xBB\xBF" H "  a\n", "T[a] +1"),
    WINDOWS_ROW("\xEF\xBB\xBF" H "  a\n", "T[a]"),
};

const uint8_t kAbc[16] = {0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0,
                          0xd6, 0x96, 0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72};

std::string Describe(const ChecksumList& list) {
    std::string text;
    for (size_t i = 0; i < list.Count(); ++i) {
        const ListEntry& entry = list.Entry(i);
        text += "TBGO"[static_cast<int>(entry.form)];
        if (entry.flags & kEntryEscaped)
            text += '\\';
        text += '[' + std::string(list.Name(i), list.NameLength(i)) + ']';
        if (memcmp(entry.digest, kAbc, 16) != 0)
            text += '!';
        if (!(entry.flags & kEntryUtf8))
            text += '~';
    }
    if (list.BadLines() > 0)
        text += " +" + std::to_string(list.BadLines());
    return text;
}

// Each byte as one character, so that the report's names keep their bytes.
void Widen(const char* name, size_t length, bool, std::wstring* wide, void*) {
    for (size_t i = 0; i < length; ++i)
        *wide += static_cast<wchar_t>(static_cast<unsigned char>(name[i]));
}

std::string Report(const ChecksumList& list, const EntryVerdict* verdicts) {
    size_t length = WriteListReport(list, verdicts, Widen, nullptr, nullptr);
    std::wstring wide(length + 1, L'?');
    EXPECT_EQ(WriteListReport(list, verdicts, Widen, nullptr, &wide[0]), length);
    EXPECT_EQ(wide[length], L'\0');
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>(wide[i]);
    return text;
}

#ifndef _WIN32
bool CreateAbcFile(const std::string& path) {
    FILE* file = fopen(path.c_str(), "wbx");
    if (file == nullptr)
        return false;
    bool written = fputs("abc", file) >= 0;
    return fclose(file) == 0 && written;
}

std::string ReadAll(FILE* file) {
    std::string text;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    return text;
}

// What md5sum -c prints for the list in folder: its output, then its
// warnings without the program's name, lines ending with CR LF.
std::string Md5sumReport(const std::string& folder, const std::string& list) {
    FILE* file = fopen((folder + "/list").c_str(), "wb");
    fwrite(list.data(), 1, list.size(), file);
    fclose(file);
    std::string command = "cd '" + folder + "' && md5sum -c list 2>errors";
    FILE* out = popen(command.c_str(), "r");
    std::string text = ReadAll(out);
    pclose(out);
    FILE* errors = fopen((folder + "/errors").c_str(), "rb");
    std::string stderrText = ReadAll(errors);
    fclose(errors);
    const std::string warning = "md5sum: WARNING: ";
    for (size_t at = stderrText.find(warning); at != std::string::npos;
         at = stderrText.find(warning, at + 1))
        text += stderrText.substr(at + 8, stderrText.find('\n', at) + 1 - at - 8);
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}
#endif

} // namespace

// Each row's list read as md5sum reads it; where md5sum is present it also
// checks each row's list, against files of its names holding "abc", and its
// report must equal ours.
TEST(ChecksumList, ReadsAndReportsEveryLineAsMd5sum) {
#ifndef _WIN32
    bool haveMd5sum = system("md5sum --version >/dev/null 2>&1") == 0;
    char folderTemplate[] = "/tmp/calverin-list-XXXXXX";
    std::string folder = haveMd5sum ? mkdtemp(folderTemplate) : "";
#endif
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.expected);
        ChecksumList list;
        ASSERT_TRUE(list.Read(row.list.data(), row.list.size()));
        EXPECT_EQ(Describe(list), row.expected);
#ifndef _WIN32
        if (!haveMd5sum || !row.sameAsMd5sum)
            continue;
        std::set<std::string> created;
        EntryVerdict verdicts[16];
        ASSERT_LE(list.Count(), 16u);
        for (size_t i = 0; i < list.Count(); ++i) {
            std::string path = folder + "/" + list.Name(i);
            if (created.count(path) == 0 && CreateAbcFile(path))
                created.insert(path);
            verdicts[i] = created.count(path) == 0                      ? EntryVerdict::Unreadable
                          : memcmp(list.Entry(i).digest, kAbc, 16) == 0 ? EntryVerdict::Ok
                                                                        : EntryVerdict::Failed;
        }
        EXPECT_EQ(Report(list, verdicts), Md5sumReport(folder, row.list));
        for (const std::string& path : created)
            remove(path.c_str());
#endif
    }
#ifndef _WIN32
    if (haveMd5sum) {
        remove((folder + "/list").c_str());
        remove((folder + "/errors").c_str());
        EXPECT_EQ(rmdir(folder.c_str()), 0);
    }
#endif
}

TEST(ChecksumList, ReportLeavesOutUncheckedEntriesAndEscapesLineBreaks) {
    const char text[] = H "  a\n" H "  b\n\\" H "  c\\rd\\\\e\nbad\n";
    ChecksumList list;
    ASSERT_TRUE(list.Read(text, sizeof text - 1));
    const EntryVerdict verdicts[] = {EntryVerdict::Failed, EntryVerdict::NotChecked,
                                     EntryVerdict::Ok};
    EXPECT_EQ(Report(list, verdicts), "a: FAILED\r\n\\c\\rd\\\\e: OK\r\n"
                                      "WARNING: 1 line is improperly formatted\r\n"
                                      "WARNING: 1 computed checksum did NOT match\r\n");
}

TEST(ChecksumList, EmptyAndGarbageListsHaveNoEntries) {
    ChecksumList list;
    ASSERT_TRUE(list.Read("", 0));
    EXPECT_EQ(list.Count(), 0u);
    std::string garbage(1 << 20, '\xff');
    garbage[1000] = '\n';
    ASSERT_TRUE(list.Read(garbage.data(), garbage.size()));
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.BadLines(), 2u);
}

TEST(ChecksumList, WrittenLinesAreMd5sumsWithSlashes) {
    const uint8_t digest[16] = {0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0,
                                0xd6, 0x96, 0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72};
    std::string text;
    for (const char* name : {"a b", "sub\\x\\\xc3\xa9.txt", "a\nb", "c\rd\\e"})
        AppendListLine(&text, digest, name, strlen(name));
    EXPECT_EQ(text, H "  a b\n" H "  sub/x/\xc3\xa9.txt\n\\" H "  a\\nb\n\\" H "  c\\rd/e\n");
}
