// Fuzzes the MD5 compressions against each other: on any message, fed in
// pieces of a size the first byte sets, the AVX-512 one (where it runs) gives
// the scalar one's digest.
#include "engine/Md5.h"
#include "engine/Md5Avx512.h"

#include <cstdint>
#include <cstring>

namespace {

void DigestWith(Md5BlocksFn blocks, const uint8_t* data, size_t size, size_t piece,
                uint8_t digest[16]) {
    Md5Context ctx;
    Md5Init(&ctx);
    for (size_t offset = 0; offset < size; offset += piece)
        Md5UpdateWith(&ctx, data + offset,
                      (uint32_t)(size - offset < piece ? size - offset : piece), blocks);
    Md5FinalWith(&ctx, blocks);
    memcpy(digest, ctx.digest, 16);
}

const bool kAvx512Runs = Avx512Runs();

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || !kAvx512Runs)
        return 0;
    const size_t piece = data[0] == 0 ? size : data[0];
    uint8_t scalar[16], avx512[16];
    DigestWith(TransformBlocks, data + 1, size - 1, piece, scalar);
    DigestWith(Md5BlocksAvx512, data + 1, size - 1, piece, avx512);
    if (memcmp(scalar, avx512, 16) != 0)
        __builtin_trap();
    return 0;
}
