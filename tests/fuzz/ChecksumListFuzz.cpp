// Fuzzes the checksum list reader: it must stay inside the bytes it is given
// (the sanitizers watch), keep every name whole, and read back as the same
// entries every list line it writes; the report fills exactly what it measures.
#include "system/ChecksumList.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

static void Widen(const char* name, size_t length, bool, std::wstring* wide, void*) {
    for (size_t i = 0; i < length; ++i)
        *wide += static_cast<wchar_t>(static_cast<unsigned char>(name[i]));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    ChecksumList list;
    if (!list.Read(bytes, size))
        std::abort();
    size_t lines = 1 + static_cast<size_t>(std::count(bytes, bytes + size, '\n'));
    if (list.Count() + list.BadLines() > lines)
        std::abort();

    std::string written;
    std::vector<EntryVerdict> verdicts;
    for (size_t i = 0; i < list.Count(); ++i) {
        const char* name = list.Name(i);
        size_t length = list.NameLength(i);
        if (strlen(name) != length)
            std::abort();
        bool utf8 = (list.Entry(i).flags & kEntryUtf8) != 0;
        if (utf8 != IsValidUtf8(name, length))
            std::abort();
        verdicts.push_back(static_cast<EntryVerdict>(i % 4));
        if (length > 0)
            AppendListLine(&written, list.Entry(i).digest, name, length);
    }

    size_t measured = WriteListReport(list, verdicts.data(), Widen, nullptr, nullptr);
    std::vector<wchar_t> report(measured + 1);
    if (WriteListReport(list, verdicts.data(), Widen, nullptr, report.data()) != measured ||
        report[measured] != L'\0')
        std::abort();

    ChecksumList back;
    if (!back.Read(written.data(), written.size()) || back.BadLines() != 0)
        std::abort();
    size_t k = 0;
    for (size_t i = 0; i < list.Count(); ++i) {
        if (list.NameLength(i) == 0)
            continue;
        std::string name(list.Name(i), list.NameLength(i));
        for (char& c : name) {
            if (c == '\\')
                c = '/';
        }
        if (k >= back.Count() || back.Entry(k).form != ListNameForm::Text ||
            name != std::string(back.Name(k), back.NameLength(k)) ||
            memcmp(back.Entry(k).digest, list.Entry(i).digest, 16) != 0)
            std::abort();
        ++k;
    }
    if (k != back.Count())
        std::abort();
    return 0;
}
