#include "system/FileFacts.h"

#include "system/ScopedHandle.h"
#include "system/SizeText.h"

#include <cstring>
#include <vector>

namespace {

constexpr int kDateTimePartSize = 16;

// A file opened for reading the way the file facts need it.
ScopedFile OpenReadableFile(const char* path) {
    return OpenPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
}

int ComponentLength(const char* component) {
    int length = 0;
    while (component[length] != '\0' && component[length] != '\\')
        ++length;
    return length;
}

// Index in path of the first component after the root, or -1 when the path has
// no root of its own (relative, or a drive without a backslash) or its network
// root has no share name.
int FindFirstComponent(const char* path) {
    int index = 0;
    if (path[0] != '\0' && path[1] == ':' && path[2] == '\\') {
        index = 3;
    } else if (path[0] == '\\' && path[1] == '\\') {
        while (path[index] == '\\')
            ++index;
        index += ComponentLength(path + index); // server
        while (path[index] == '\\')
            ++index;
        if (path[index] == '\0')
            return -1;
        index += ComponentLength(path + index); // share
    } else {
        return -1;
    }
    while (path[index] == '\\')
        ++index;
    return index;
}

} // namespace

bool IsFactKnown(DWORD low, DWORD high) {
    return !(low == kUnknownHalf && high == kUnknownHalf);
}

bool QueryFileSize(const char* path, DWORD* low, DWORD* high) {
    *low = *high = kUnknownHalf;
    ScopedFile file = OpenReadableFile(path);
    if (!file)
        return false;
    DWORD highHalf = 0;
    // All ones in the low half is a real size only when no error is set; an
    // older error must not count.
    SetLastError(NO_ERROR);
    DWORD lowHalf = GetFileSize(file.Get(), &highHalf);
    if (lowHalf == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return false;
    *low = lowHalf;
    *high = highHalf;
    return true;
}

bool QueryFileTime(const char* path, FILETIME* time) {
    ScopedFile file = OpenReadableFile(path);
    if (!file)
        return false;
    return GetFileTime(file.Get(), nullptr, nullptr, time) != FALSE;
}

char* FormatFileSize(char* buffer, DWORD low, DWORD high) {
    return FormatSizeText(buffer, low, high);
}

char* FormatFileTime(char* buffer, const FILETIME* time) {
    buffer[0] = '\0';
    FILETIME local;
    SYSTEMTIME fields;
    if (!FileTimeToLocalFileTime(time, &local) || !FileTimeToSystemTime(&local, &fields))
        return buffer;
    // A part that does not fit its buffer is left out rather than cut.
    char date[kDateTimePartSize];
    char clock[kDateTimePartSize];
    if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, &fields, nullptr, date, kDateTimePartSize) == 0)
        date[0] = '\0';
    if (GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &fields, nullptr, clock,
                       kDateTimePartSize) == 0)
        clock[0] = '\0';
    const char* separator = (date[0] != '\0' && clock[0] != '\0') ? " " : "";
    wsprintfA(buffer, "%s%s%s", date, separator, clock);
    return buffer;
}

// Looked up name by name rather than by GetLongPathNameW, which leaves a
// literal ("\\?\") path as it is under Wine.
std::string ToLongPath(const char* path) {
    std::vector<char> buffer(kPathTextSize);
    ExpandLongPath(path, buffer.data(), kPathTextSize);
    return buffer.data();
}

int ExpandLongPath(const char* source, char* destination, int size) {
    if (size <= 0)
        return size;
    destination[0] = '\0';
    const int sourceLength = lstrlenA(source);
    if (sourceLength + 1 > size)
        return size;
    std::memcpy(destination, source, sourceLength + 1);

    int position = FindFirstComponent(source);
    if (position < 0 || source[position] == '\0')
        return 0;

    // Cut just before the first component, dropping the backslash before it.
    int length = position - 1;
    destination[length] = '\0';
    while (source[position] != '\0') {
        const char* component = source + position;
        const int restLength = sourceLength - position;
        // The expanded head and the rest no longer fit: the source, which
        // does, names the same object.
        if (length + 1 + restLength + 1 > size) {
            std::memcpy(destination, source, sourceLength + 1);
            return size;
        }
        // The destination holds the expanded head and the rest unchanged, cut
        // for the look-up right after this component.
        destination[length] = '\\';
        std::memcpy(destination + length + 1, component, restLength + 1);
        const int componentLength = ComponentLength(component);
        const int componentEnd = length + 1 + componentLength;
        const char following = destination[componentEnd];
        destination[componentEnd] = '\0';

        std::string found;
        if (!FindStoredName(destination, &found)) {
            destination[componentEnd] = following;
            return 0;
        }
        const int foundLength = static_cast<int>(found.size());
        if (length + 1 + foundLength + 1 > size) {
            destination[componentEnd] = following;
            return size;
        }
        std::memcpy(destination + length + 1, found.c_str(), foundLength + 1);
        length += 1 + foundLength;

        position += componentLength;
        while (source[position] == '\\')
            ++position;
    }
    return length;
}
