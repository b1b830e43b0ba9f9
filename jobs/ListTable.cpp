#include "jobs/ListTable.h"

void ListNameAsWide(const char* name, size_t length, bool utf8, std::wstring* wide, void*) {
    wide->clear();
    if (length == 0)
        return;
    const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
    int size = MultiByteToWideChar(codePage, 0, name, static_cast<int>(length), nullptr, 0);
    if (size <= 0)
        return;
    wide->resize(static_cast<size_t>(size));
    MultiByteToWideChar(codePage, 0, name, static_cast<int>(length), &(*wide)[0], size);
}

void RowName(const ListTable& table, size_t row, std::wstring* wide) {
    if (table.mode == ListMode::Create) {
        wide->assign(table.walk.Name(row));
        return;
    }
    const ListEntry& entry = table.list.Entry(row);
    ListNameAsWide(table.list.Name(row), table.list.NameLength(row),
                   (entry.flags & kEntryUtf8) != 0, wide, nullptr);
}
