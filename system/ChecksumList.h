// Checksum lists in the layout md5sum reads and writes: the reader that takes
// or refuses each line exactly as `md5sum -c` does, the report that reads as
// `md5sum -c` prints it, and the line written for each file of a new list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// How an entry's line gave its name.
enum class ListNameForm : uint8_t {
    Text,     // <hex><blank><blank><name>
    Binary,   // <hex><blank>*<name>; the same bytes are hashed as for Text
    Tag,      // MD5 (<name>) = <hex>, and its other spacings
    OneBlank, // <hex><blank or tab><name>, once the list's first entry line had it
};

// Bits of ListEntry::flags.
constexpr uint8_t kEntryEscaped = 1; // the line began with a backslash: escapes undone
constexpr uint8_t kEntryUtf8 = 2;    // the name's bytes are valid UTF-8; else system code page

// One understood line: 24 bytes in the 32-bit build, 32 in the 64-bit one.
struct ListEntry {
    size_t name;        // offset of the zero-terminated name in the list's name buffer
    uint8_t digest[16]; // the expected MD5
    ListNameForm form;
    uint8_t flags; // kEntryEscaped, kEntryUtf8
};

// A whole list read into compact records: every name lies in one shared
// buffer, unescaped, zero-terminated (a name never holds a zero byte).
class ChecksumList {
  public:
    // Reads bytes, the whole list file, replacing what was read before.
    // Lines are split at LF; one CR before it (or before the end) belongs to
    // the line end. Empty lines and lines beginning with '#' are skipped; every
    // other line is an entry or a line not understood. A UTF-8 byte-order mark
    // at the start is skipped. False only when memory for the entries cannot
    // be had; the list is then empty. Linear in size, whatever the bytes.
    bool Read(const char* bytes, size_t size);

    size_t Count() const { return count_; }
    // Lines that are neither entries nor skipped ("improperly formatted").
    size_t BadLines() const { return badLines_; }
    const ListEntry& Entry(size_t index) const { return entries_[index]; }
    const char* Name(size_t index) const { return names_.get() + entries_[index].name; }
    size_t NameLength(size_t index) const;

  private:
    std::unique_ptr<ListEntry[]> entries_;
    std::unique_ptr<char[]> names_;
    size_t count_ = 0;
    size_t namesSize_ = 0;
    size_t badLines_ = 0;
};

// Whether bytes are valid UTF-8 (shortest forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(const char* bytes, size_t length);

// Result of checking one entry.
enum class EntryVerdict : uint8_t {
    NotChecked, // not reached (the job was stopped): left out of the report
    Ok,
    Failed,     // the file's MD5 differs from the listed one
    Unreadable, // missing, not a file, or a read failed
};

// Puts an entry's name (the list's bytes; UTF-8 when utf8, else the system
// code page) into wide.
using ListNameToWide = void (*)(const char* name, size_t length, bool utf8, std::wstring* wide,
                                void* context);

// The report: one line per checked entry in list order, "<name>: OK",
// "<name>: FAILED" or "<name>: FAILED open or read", then the warnings about
// lines not understood, files not read and checksums that differ, each when
// its count is not 0; every line ends with CR LF. A name holding LF or CR is
// written escaped: a leading backslash, then \\, \n and \r for backslash, LF
// and CR. verdicts holds one value per entry. Returns the report's length in
// characters; when out is not null it receives the report and a terminating
// zero, so it must hold the length of a call with out null, plus 1.
size_t WriteListReport(const ChecksumList& list, const EntryVerdict* verdicts,
                       ListNameToWide toWide, void* context, wchar_t* out);

// Appends the line of a new list for one file: 32 lower-case hex digits, two
// blanks and name (UTF-8), every backslash turned into '/', then LF. A name
// that holds LF or CR is escaped as md5sum writes it, so that it reads back.
void AppendListLine(std::string* text, const uint8_t digest[16], const char* name, size_t length);
