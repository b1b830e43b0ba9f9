// The C99 printf of MinGW rounds like glibc; msvcrt's would round ties away
// from zero ("2.5" -> "3"), so the texts would depend on the platform.
#undef __USE_MINGW_ANSI_STDIO
#define __USE_MINGW_ANSI_STDIO 1

#include "system/SizeText.h"

#include <cstdio>

namespace {

constexpr uint64_t kKilo = 1024;
constexpr uint64_t kMega = 1024 * 1024;
constexpr uint64_t kBytesShownAsBytes = kKilo;
constexpr uint64_t kBytesShownAsKilo = 1000 * kKilo;
constexpr uint64_t kBytesShownAsMega = 1000 * kMega;
constexpr uint64_t kBytesShownAsGiga = 1000 * kMega * kKilo; // 250 * 2^32

} // namespace

char* FormatSizeText(char* buffer, uint32_t low, uint32_t high) {
    const uint64_t size = (static_cast<uint64_t>(high) << 32) | low;
    if (size <= kBytesShownAsBytes) {
        std::snprintf(buffer, kSizeTextSize, "%1.0f B", static_cast<double>(size));
    } else if (size <= kBytesShownAsKilo) {
        std::snprintf(buffer, kSizeTextSize, "%1.0f KB", static_cast<double>(size) / kKilo);
    } else if (size <= kBytesShownAsMega) {
        std::snprintf(buffer, kSizeTextSize, "%1.2f MB", static_cast<double>(size) / kMega);
    } else if (size <= kBytesShownAsGiga) {
        std::snprintf(buffer, kSizeTextSize, "%1.2f GB", static_cast<double>(size / kKilo) / kMega);
    } else {
        // Whole gigabytes in single precision: beyond 2^24 GB the last digits
        // are those of the float. Stored through memory, as the x87 would
        // otherwise keep every digit.
        volatile float gigabytes = static_cast<float>(size / (kKilo * kMega));
        std::snprintf(buffer, kSizeTextSize, "%1.2f TB", static_cast<double>(gigabytes / 1024.0f));
    }
    return buffer;
}
