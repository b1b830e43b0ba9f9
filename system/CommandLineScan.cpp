#include "system/CommandLineScan.h"

#include <cstring>
#include <string>

namespace {

void HandOn(const char* start, size_t length, PathSink sink, void* context) {
    std::string path;
    if (length <= static_cast<size_t>(kMaxHandedPath)) {
        path.assign(start, length);
    } else {
        const size_t markLength = sizeof(kOverlongMark) - 1;
        path.assign(start, kMaxHandedPath - markLength);
        path += kOverlongMark;
    }
    sink(path.c_str(), context);
}

} // namespace

int ScanCommandLine(const char* text, PathSink sink, void* context) {
    int count = 0;
    const char* p = text;
    while (*p != '\0') {
        // Only the space separates; a tab is part of a path.
        while (*p == ' ')
            ++p;
        const char* start = p;
        const char* end;
        bool quoted = *p == '"';
        if (quoted) {
            start = p + 1;
            end = strchr(start, '"');
            if (end == nullptr)
                end = start + strlen(start);
        } else {
            end = p + strcspn(p, " ");
        }
        if (end > start) {
            HandOn(start, static_cast<size_t>(end - start), sink, context);
            ++count;
        }
        p = (quoted && *end == '"') ? end + 1 : end;
    }
    return count;
}
