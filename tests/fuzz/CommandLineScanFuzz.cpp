// Every path handed on is non-empty, fits the job buffer and, unless marked as
// over-long, is a piece of the input.
#include "system/CommandLineScan.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

struct FuzzInput {
    const std::string* text;
    int seen;
};

static void Check(const char* path, void* context) {
    auto* input = static_cast<FuzzInput*>(context);
    size_t length = strlen(path);
    if (length == 0 || length > static_cast<size_t>(kMaxHandedPath))
        abort();
    const size_t markLength = sizeof(kOverlongMark) - 1;
    bool marked = length == static_cast<size_t>(kMaxHandedPath) &&
                  strcmp(path + length - markLength, kOverlongMark) == 0;
    std::string piece(path, marked ? length - markLength : length);
    if (input->text->find(piece) == std::string::npos)
        abort();
    ++input->seen;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.c_str(); // the scanner sees a zero-terminated text
    FuzzInput input = {&text, 0};
    int count = ScanCommandLine(text.c_str(), Check, &input);
    if (count != input.seen)
        abort();
    return 0;
}
