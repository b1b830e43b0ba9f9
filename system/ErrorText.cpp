#include "system/ErrorText.h"

namespace {

constexpr int kSystemTextSize = 512;

} // namespace

std::string ErrorText(DWORD error) {
    if (error == kNotDiskFileError)
        return kNotDiskFileText;
    char text[kSystemTextSize];
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, text, kSystemTextSize, nullptr) == 0) {
        // No text for this code: its number is better than an empty line.
        wsprintfA(text, "Error %lu", error);
    }
    return text;
}
