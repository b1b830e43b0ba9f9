#include "engine/Hashing.h"

#include <cstring>

#include "engine/Md5.h"

namespace {

// Small reads keep memory flat and let a cancel take effect within one chunk.
constexpr DWORD kReadChunk = 1024;

} // namespace

char* HashOpenFile(HANDLE file, CancelCheck cancelled) {
    Md5Context ctx;
    Md5Init(&ctx);
    uint8_t chunk[kReadChunk];
    memset(chunk, 0, sizeof chunk);

    // A read that fails part-way must not pass off a prefix's checksum as the
    // file's: it ends with no result and its error kept for the report.
    DWORD readError = ERROR_SUCCESS;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, chunk, kReadChunk, &got, nullptr)) {
            readError = GetLastError();
            break;
        }
        if (got == 0)
            break;
        Md5Update(&ctx, chunk, got);
        if (cancelled())
            break;
    }
    Md5Final(&ctx);

    if (readError != ERROR_SUCCESS) {
        SetLastError(readError);
        return nullptr;
    }
    // Looked at once more: a cancel during the last read still counts.
    if (cancelled())
        return nullptr;
    return DigestToHex(ctx.digest);
}

bool HashOpenFileInBlocks(HANDLE file, CancelCheck cancelled, uint8_t* block, DWORD blockSize,
                          uint8_t digest[16]) {
    Md5Context ctx;
    Md5Init(&ctx);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, block, blockSize, &got, nullptr))
            return false; // its error stays for the report
        if (got == 0)
            break;
        for (DWORD done = 0; done < got; done += kCancelStep) {
            DWORD step = got - done < kCancelStep ? got - done : kCancelStep;
            Md5Update(&ctx, block + done, step);
            if (cancelled())
                return false;
        }
    }
    Md5Final(&ctx);
    memcpy(digest, ctx.digest, sizeof ctx.digest);
    return true;
}

char* HashString(const char* text) {
    Md5Context ctx;
    Md5Init(&ctx);
    if (text)
        Md5Update(&ctx, text, (uint32_t)strlen(text));
    Md5Final(&ctx);
    return DigestToHex(ctx.digest);
}
