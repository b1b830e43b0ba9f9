#include "system/ChecksumList.h"

#include "engine/Md5.h"

#include <cstring>
#include <cwchar>
#include <new>

// A list of a million entries must fit either build beside its names.
static_assert(sizeof(ListEntry) <= 32, "a list entry stays compact");

namespace {

constexpr size_t kHexLength = kChecksumLength;
// The shortest line of the hex layout: the digits, a blank and one byte.
constexpr size_t kShortestHexLine = kHexLength + 2;
constexpr char kTag[] = "MD5";
constexpr size_t kTagLength = sizeof(kTag) - 1;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

constexpr wchar_t kReportOk[] = L": OK";
constexpr wchar_t kReportFailed[] = L": FAILED";
constexpr wchar_t kReportUnreadable[] = L": FAILED open or read";
constexpr wchar_t kReportLineEnd[] = L"\r\n";
constexpr wchar_t kWarnOneBadLine[] = L"WARNING: 1 line is improperly formatted";
constexpr wchar_t kWarnBadLines[] = L"WARNING: %d lines are improperly formatted";
constexpr wchar_t kWarnOneUnreadable[] = L"WARNING: 1 listed file could not be read";
constexpr wchar_t kWarnUnreadable[] = L"WARNING: %d listed files could not be read";
constexpr wchar_t kWarnOneFailed[] = L"WARNING: 1 computed checksum did NOT match";
constexpr wchar_t kWarnFailed[] = L"WARNING: %d computed checksums did NOT match";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool ReadHex(const char* hex, uint8_t digest[16]) {
    for (size_t i = 0; i < kHexLength; i += 2) {
        int high = HexDigitValue(hex[i]);
        int low = HexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        digest[i / 2] = static_cast<uint8_t>(high << 4 | low);
    }
    return true;
}

// Undoes the escapes of a name (\\, \n, \r) into out when it is not null.
// Returns the unescaped length, or -1 for any other escape, a backslash at the
// end or a zero byte, which make the line not understood.
ptrdiff_t Unescape(const char* name, size_t length, char* out) {
    size_t written = 0;
    for (size_t i = 0; i < length; ++i) {
        char c = name[i];
        if (c == '\0')
            return -1;
        if (c == '\\') {
            if (++i == length)
                return -1;
            switch (name[i]) {
            case '\\':
                break;
            case 'n':
                c = '\n';
                break;
            case 'r':
                c = '\r';
                break;
            default:
                return -1;
            }
        }
        if (out != nullptr)
            out[written] = c;
        ++written;
    }
    return static_cast<ptrdiff_t>(written);
}

// The layout of the hex lines, fixed by the first line with valid digits.
enum class HexLayout { Unknown, Marked, OneBlank };

// One understood line, its name still as written.
struct ParsedLine {
    const char* name;
    size_t length; // with escaped: the bytes to unescape; else up to a zero byte
    bool escaped;
    ListNameForm form;
    uint8_t digest[16];
};

// The part of a tag line after "MD5 (" or "MD5(": <name>) = <hex>, the name
// running to the line's last ')', blanks around '=' optional.
bool ParseTagRest(const char* s, size_t length, ParsedLine* parsed) {
    if (length == 0)
        return false;
    size_t close = length - 1;
    while (close > 0 && s[close] != ')')
        --close;
    if (s[close] != ')')
        return false;
    size_t i = close + 1;
    while (i < length && IsBlank(s[i]))
        ++i;
    if (i == length || s[i] != '=')
        return false;
    ++i;
    while (i < length && IsBlank(s[i]))
        ++i;
    // A zero byte after the digits ends the line as its end does.
    if (length - i < kHexLength || (length - i > kHexLength && s[i + kHexLength] != '\0'))
        return false;
    if (!ReadHex(s + i, parsed->digest))
        return false;
    parsed->name = s;
    parsed->length = close;
    parsed->form = ListNameForm::Tag;
    return true;
}

// One line without its line end: whether it is an entry. A line whose digits
// are valid fixes the layout when it is still unknown, even if its name then
// proves wrong, as md5sum has it.
bool ParseLine(const char* s, size_t length, HexLayout* layout, ParsedLine* parsed) {
    size_t i = 0;
    while (i < length && IsBlank(s[i]))
        ++i;
    parsed->escaped = i < length && s[i] == '\\';
    if (parsed->escaped)
        ++i;
    if (length - i >= kTagLength && memcmp(s + i, kTag, kTagLength) == 0) {
        i += kTagLength;
        if (i < length && s[i] == ' ')
            ++i;
        if (i == length || s[i] != '(')
            return false;
        ++i;
        return ParseTagRest(s + i, length - i, parsed);
    }
    if (length - i < kShortestHexLine)
        return false;
    const char* hex = s + i;
    i += kHexLength;
    if (!IsBlank(s[i]))
        return false;
    ++i;
    if (!ReadHex(hex, parsed->digest))
        return false;
    if (length - i == 1 || (s[i] != ' ' && s[i] != '*')) {
        if (*layout == HexLayout::Marked)
            return false;
        *layout = HexLayout::OneBlank;
        parsed->form = ListNameForm::OneBlank;
    } else if (*layout != HexLayout::OneBlank) {
        *layout = HexLayout::Marked;
        parsed->form = s[i] == '*' ? ListNameForm::Binary : ListNameForm::Text;
        ++i;
    } else {
        // Under the one-blank layout the marker is the name's first byte.
        parsed->form = ListNameForm::OneBlank;
    }
    parsed->name = s + i;
    parsed->length = length - i;
    return true;
}

// Walks the lines of a list, handing each entry to sink(const ParsedLine&,
// size_t nameLength); returns the count of lines not understood.
template <typename Sink> size_t WalkLines(const char* bytes, size_t size, Sink sink) {
    size_t bad = 0;
    HexLayout layout = HexLayout::Unknown;
    size_t start = 0;
    if (size >= 3 && memcmp(bytes, kByteOrderMark, 3) == 0)
        start = 3;
    while (start < size) {
        const char* line = bytes + start;
        const char* feed = static_cast<const char*>(memchr(line, '\n', size - start));
        size_t length = feed != nullptr ? static_cast<size_t>(feed - line) : size - start;
        start += length + 1;
        if (line[0] == '#')
            continue;
        if (length > 0 && line[length - 1] == '\r')
            --length;
        if (length == 0)
            continue;
        ParsedLine parsed;
        if (!ParseLine(line, length, &layout, &parsed)) {
            ++bad;
            continue;
        }
        ptrdiff_t nameLength;
        if (parsed.escaped) {
            nameLength = Unescape(parsed.name, parsed.length, nullptr);
        } else {
            const void* zero = memchr(parsed.name, '\0', parsed.length);
            nameLength = zero != nullptr ? static_cast<const char*>(zero) - parsed.name
                                         : static_cast<ptrdiff_t>(parsed.length);
        }
        if (nameLength < 0) {
            ++bad;
            continue;
        }
        sink(parsed, static_cast<size_t>(nameLength));
    }
    return bad;
}

} // namespace

bool IsValidUtf8(const char* bytes, size_t length) {
    const auto* s = reinterpret_cast<const uint8_t*>(bytes);
    size_t i = 0;
    while (i < length) {
        uint8_t lead = s[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t more;
        uint8_t low = 0x80, high = 0xBF; // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            if (lead == 0xE0)
                low = 0xA0; // shorter forms
            else if (lead == 0xED)
                high = 0x9F; // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F; // beyond U+10FFFF
        } else {
            return false;
        }
        if (length - i <= more || s[i + 1] < low || s[i + 1] > high)
            return false;
        for (size_t k = 2; k <= more; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += more + 1;
    }
    return true;
}

size_t ChecksumList::NameLength(size_t index) const {
    size_t end = index + 1 < count_ ? entries_[index + 1].name : namesSize_;
    return end - entries_[index].name - 1;
}

bool ChecksumList::Read(const char* bytes, size_t size) {
    entries_.reset();
    names_.reset();
    count_ = 0;
    namesSize_ = 0;
    badLines_ = 0;
    // First the sizes, so that the records take exactly what they need and a
    // list too large for memory is refused instead of ending the program.
    size_t count = 0;
    size_t namesSize = 0;
    size_t bad = WalkLines(bytes, size, [&](const ParsedLine&, size_t nameLength) {
        ++count;
        namesSize += nameLength + 1;
    });
    std::unique_ptr<ListEntry[]> entries(new (std::nothrow) ListEntry[count > 0 ? count : 1]);
    std::unique_ptr<char[]> names(new (std::nothrow) char[namesSize > 0 ? namesSize : 1]);
    if (entries == nullptr || names == nullptr)
        return false;
    size_t filled = 0;
    size_t offset = 0;
    WalkLines(bytes, size, [&](const ParsedLine& parsed, size_t nameLength) {
        ListEntry& entry = entries[filled++];
        char* name = names.get() + offset;
        if (parsed.escaped)
            Unescape(parsed.name, parsed.length, name);
        else
            memcpy(name, parsed.name, nameLength);
        name[nameLength] = '\0';
        entry.name = offset;
        offset += nameLength + 1;
        memcpy(entry.digest, parsed.digest, sizeof entry.digest);
        entry.form = parsed.form;
        entry.flags = static_cast<uint8_t>((parsed.escaped ? kEntryEscaped : 0) |
                                           (IsValidUtf8(name, nameLength) ? kEntryUtf8 : 0));
    });
    entries_ = std::move(entries);
    names_ = std::move(names);
    count_ = count;
    namesSize_ = namesSize;
    badLines_ = bad;
    return true;
}

namespace {

// Counts the report's characters, and writes them when out is not null.
class ReportText {
  public:
    explicit ReportText(wchar_t* out) : out_(out) {}
    void Add(const wchar_t* text, size_t length) {
        if (out_ != nullptr)
            wmemcpy(out_ + length_, text, length);
        length_ += length;
    }
    void Add(const wchar_t* text) { Add(text, wcslen(text)); }
    void Add(wchar_t c) { Add(&c, 1); }
    // The singular line for a count of 1, else many with the count for its %d.
    void AddWarning(const wchar_t* one, const wchar_t* many, size_t count) {
        if (count == 0)
            return;
        if (count == 1) {
            Add(one);
        } else {
            const wchar_t* mark = wcsstr(many, L"%d");
            Add(many, static_cast<size_t>(mark - many));
            wchar_t digits[24];
            size_t used = 0;
            for (; count > 0 || used == 0; count /= 10)
                digits[used++] = static_cast<wchar_t>(L'0' + count % 10);
            while (used > 0)
                Add(digits[--used]);
            Add(mark + 2);
        }
        Add(kReportLineEnd);
    }
    size_t Finish() {
        if (out_ != nullptr)
            out_[length_] = L'\0';
        return length_;
    }

  private:
    wchar_t* out_;
    size_t length_ = 0;
};

bool HoldsLineBreak(const char* name, size_t length) {
    return memchr(name, '\n', length) != nullptr || memchr(name, '\r', length) != nullptr;
}

void AddReportName(ReportText* text, const std::wstring& name, bool escape) {
    if (!escape) {
        text->Add(name.data(), name.size());
        return;
    }
    text->Add(L'\\');
    for (wchar_t c : name) {
        if (c == L'\\') {
            text->Add(L"\\\\");
        } else if (c == L'\n') {
            text->Add(L"\\n");
        } else if (c == L'\r') {
            text->Add(L"\\r");
        } else {
            text->Add(c);
        }
    }
}

} // namespace

size_t WriteListReport(const ChecksumList& list, const EntryVerdict* verdicts,
                       ListNameToWide toWide, void* context, wchar_t* out) {
    ReportText text(out);
    size_t failed = 0;
    size_t unreadable = 0;
    std::wstring name;
    for (size_t i = 0; i < list.Count(); ++i) {
        const wchar_t* verdict;
        switch (verdicts[i]) {
        case EntryVerdict::Ok:
            verdict = kReportOk;
            break;
        case EntryVerdict::Failed:
            verdict = kReportFailed;
            ++failed;
            break;
        case EntryVerdict::Unreadable:
            verdict = kReportUnreadable;
            ++unreadable;
            break;
        default:
            continue;
        }
        const char* bytes = list.Name(i);
        size_t length = list.NameLength(i);
        name.clear();
        toWide(bytes, length, (list.Entry(i).flags & kEntryUtf8) != 0, &name, context);
        // LF and CR are the same byte in UTF-8 and every code page.
        AddReportName(&text, name, HoldsLineBreak(bytes, length));
        text.Add(verdict);
        text.Add(kReportLineEnd);
    }
    text.AddWarning(kWarnOneBadLine, kWarnBadLines, list.BadLines());
    text.AddWarning(kWarnOneUnreadable, kWarnUnreadable, unreadable);
    text.AddWarning(kWarnOneFailed, kWarnFailed, failed);
    return text.Finish();
}

void AppendListLine(std::string* text, const uint8_t digest[16], const char* name, size_t length) {
    static const char kDigits[] = "0123456789abcdef";
    if (HoldsLineBreak(name, length))
        text->push_back('\\');
    for (int i = 0; i < 16; ++i) {
        text->push_back(kDigits[digest[i] >> 4]);
        text->push_back(kDigits[digest[i] & 15]);
    }
    text->append("  ");
    for (size_t i = 0; i < length; ++i) {
        char c = name[i];
        if (c == '\n') {
            text->append("\\n");
        } else if (c == '\r') {
            text->append("\\r");
        } else {
            text->push_back(c == '\\' ? '/' : c);
        }
    }
    text->push_back('\n');
}
