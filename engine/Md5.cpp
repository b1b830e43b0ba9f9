#include "engine/Md5.h"

#include <atomic>
#include <cstring>
#include <new>

#include "engine/Md5Avx512.h"

namespace {

// The padding block: one 1 bit, then zeros.
const uint8_t kPadding[64] = {0x80};

// Words to bytes, least significant byte first; length is a multiple of 4.
void Encode(uint8_t* out, const uint32_t* in, uint32_t length) {
    for (uint32_t i = 0, j = 0; j < length; i++, j += 4) {
        out[j] = (uint8_t)in[i];
        out[j + 1] = (uint8_t)(in[i] >> 8);
        out[j + 2] = (uint8_t)(in[i] >> 16);
        out[j + 3] = (uint8_t)(in[i] >> 24);
    }
}

// One word of a block, least significant byte first.
inline uint32_t DecodeWord(const uint8_t* in) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // The machine's own order: one plain load, which the steps take as a
    // memory operand.
    uint32_t word;
    memcpy(&word, in, 4);
    return word;
#else
    return (uint32_t)in[0] | ((uint32_t)in[1] << 8) | ((uint32_t)in[2] << 16) |
           ((uint32_t)in[3] << 24);
#endif
}

// Zeroes memory in a way the optimiser may not drop as a dead store.
void Wipe(void* memory, size_t size) {
    memset(memory, 0, size);
    __asm__ __volatile__("" : : "r"(memory) : "memory");
}

inline uint32_t Rotl(uint32_t x, int s) {
    return (x << s) | (x >> (32 - s));
}

// The four step kinds. Each step's only input that the previous step just
// produced is b, so everything else (a, message word, constant, and what the
// round function can take from c and d alone) is summed first; after b arrives
// only two or three operations stand before the rotate.

// F = (b & c) | (~b & d), computed as a select: ((c ^ d) & b) ^ d.
inline void StepF(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k, int s) {
    a += x + k;
    a += ((c ^ d) & b) ^ d;
    a = Rotl(a, s) + b;
}

// G = (b & d) | (c & ~d). The two terms never share a bit, so the OR is an
// addition and c & ~d joins the early sum.
inline void StepG(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k, int s) {
    a += x + k;
    a += c & ~d;
    a += b & d;
    a = Rotl(a, s) + b;
}

// H = b ^ c ^ d, with c ^ d ready before b.
inline void StepH(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k, int s) {
    a += x + k;
    a += (c ^ d) ^ b;
    a = Rotl(a, s) + b;
}

// I = c ^ (b | ~d), with ~d ready before b.
inline void StepI(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k, int s) {
    a += x + k;
    a += (b | ~d) ^ c;
    a = Rotl(a, s) + b;
}

inline uint32_t Word(const uint8_t* block, int i) {
    return DecodeWord(block + 4 * i);
}

} // namespace

// The chaining values stay in registers from block to block, and the message
// words are read straight from the block: no copy of the message is left on
// the stack.
void TransformBlocks(uint32_t state[4], const uint8_t* block, size_t count) {
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; count > 0; count--, block += 64) {
        const uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

        StepF(a, b, c, d, Word(block, 0), 0xd76aa478, 7);
        StepF(d, a, b, c, Word(block, 1), 0xe8c7b756, 12);
        StepF(c, d, a, b, Word(block, 2), 0x242070db, 17);
        StepF(b, c, d, a, Word(block, 3), 0xc1bdceee, 22);
        StepF(a, b, c, d, Word(block, 4), 0xf57c0faf, 7);
        StepF(d, a, b, c, Word(block, 5), 0x4787c62a, 12);
        StepF(c, d, a, b, Word(block, 6), 0xa8304613, 17);
        StepF(b, c, d, a, Word(block, 7), 0xfd469501, 22);
        StepF(a, b, c, d, Word(block, 8), 0x698098d8, 7);
        StepF(d, a, b, c, Word(block, 9), 0x8b44f7af, 12);
        StepF(c, d, a, b, Word(block, 10), 0xffff5bb1, 17);
        StepF(b, c, d, a, Word(block, 11), 0x895cd7be, 22);
        StepF(a, b, c, d, Word(block, 12), 0x6b901122, 7);
        StepF(d, a, b, c, Word(block, 13), 0xfd987193, 12);
        StepF(c, d, a, b, Word(block, 14), 0xa679438e, 17);
        StepF(b, c, d, a, Word(block, 15), 0x49b40821, 22);

        StepG(a, b, c, d, Word(block, 1), 0xf61e2562, 5);
        StepG(d, a, b, c, Word(block, 6), 0xc040b340, 9);
        StepG(c, d, a, b, Word(block, 11), 0x265e5a51, 14);
        StepG(b, c, d, a, Word(block, 0), 0xe9b6c7aa, 20);
        StepG(a, b, c, d, Word(block, 5), 0xd62f105d, 5);
        StepG(d, a, b, c, Word(block, 10), 0x02441453, 9);
        StepG(c, d, a, b, Word(block, 15), 0xd8a1e681, 14);
        StepG(b, c, d, a, Word(block, 4), 0xe7d3fbc8, 20);
        StepG(a, b, c, d, Word(block, 9), 0x21e1cde6, 5);
        StepG(d, a, b, c, Word(block, 14), 0xc33707d6, 9);
        StepG(c, d, a, b, Word(block, 3), 0xf4d50d87, 14);
        StepG(b, c, d, a, Word(block, 8), 0x455a14ed, 20);
        StepG(a, b, c, d, Word(block, 13), 0xa9e3e905, 5);
        StepG(d, a, b, c, Word(block, 2), 0xfcefa3f8, 9);
        StepG(c, d, a, b, Word(block, 7), 0x676f02d9, 14);
        StepG(b, c, d, a, Word(block, 12), 0x8d2a4c8a, 20);

        StepH(a, b, c, d, Word(block, 5), 0xfffa3942, 4);
        StepH(d, a, b, c, Word(block, 8), 0x8771f681, 11);
        StepH(c, d, a, b, Word(block, 11), 0x6d9d6122, 16);
        StepH(b, c, d, a, Word(block, 14), 0xfde5380c, 23);
        StepH(a, b, c, d, Word(block, 1), 0xa4beea44, 4);
        StepH(d, a, b, c, Word(block, 4), 0x4bdecfa9, 11);
        StepH(c, d, a, b, Word(block, 7), 0xf6bb4b60, 16);
        StepH(b, c, d, a, Word(block, 10), 0xbebfbc70, 23);
        StepH(a, b, c, d, Word(block, 13), 0x289b7ec6, 4);
        StepH(d, a, b, c, Word(block, 0), 0xeaa127fa, 11);
        StepH(c, d, a, b, Word(block, 3), 0xd4ef3085, 16);
        StepH(b, c, d, a, Word(block, 6), 0x04881d05, 23);
        StepH(a, b, c, d, Word(block, 9), 0xd9d4d039, 4);
        StepH(d, a, b, c, Word(block, 12), 0xe6db99e5, 11);
        StepH(c, d, a, b, Word(block, 15), 0x1fa27cf8, 16);
        StepH(b, c, d, a, Word(block, 2), 0xc4ac5665, 23);

        StepI(a, b, c, d, Word(block, 0), 0xf4292244, 6);
        StepI(d, a, b, c, Word(block, 7), 0x432aff97, 10);
        StepI(c, d, a, b, Word(block, 14), 0xab9423a7, 15);
        StepI(b, c, d, a, Word(block, 5), 0xfc93a039, 21);
        StepI(a, b, c, d, Word(block, 12), 0x655b59c3, 6);
        StepI(d, a, b, c, Word(block, 3), 0x8f0ccc92, 10);
        StepI(c, d, a, b, Word(block, 10), 0xffeff47d, 15);
        StepI(b, c, d, a, Word(block, 1), 0x85845dd1, 21);
        StepI(a, b, c, d, Word(block, 8), 0x6fa87e4f, 6);
        StepI(d, a, b, c, Word(block, 15), 0xfe2ce6e0, 10);
        StepI(c, d, a, b, Word(block, 6), 0xa3014314, 15);
        StepI(b, c, d, a, Word(block, 13), 0x4e0811a1, 21);
        StepI(a, b, c, d, Word(block, 4), 0xf7537e82, 6);
        StepI(d, a, b, c, Word(block, 11), 0xbd3af235, 10);
        StepI(c, d, a, b, Word(block, 2), 0x2ad7d2bb, 15);
        StepI(b, c, d, a, Word(block, 9), 0xeb86d391, 21);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

namespace {

// Null until picked. A constant start, so a hash made before the start-up
// pick below still finds its compression.
std::atomic<Md5BlocksFn> gChosenBlocks{nullptr};

// AVX-512 wherever it is the faster one; Avx512Pays says where it is not.
Md5BlocksFn PickBlocks() {
    return Avx512Pays() ? Md5BlocksAvx512 : TransformBlocks;
}

// Made at start-up, so that no hash waits for the processor's answers.
[[maybe_unused]] const Md5BlocksFn kStartUpPick = Md5ChosenBlocks();

} // namespace

Md5BlocksFn Md5ChosenBlocks() {
    Md5BlocksFn chosen = gChosenBlocks.load(std::memory_order_relaxed);
    if (chosen == nullptr) {
        // Threads that race here pick the same; either store is right.
        chosen = PickBlocks();
        gChosenBlocks.store(chosen, std::memory_order_relaxed);
    }
    return chosen;
}

void Md5Init(Md5Context* ctx) {
    ctx->count[0] = ctx->count[1] = 0;
    ctx->state[0] = 0x67452301;
    ctx->state[1] = 0xefcdab89;
    ctx->state[2] = 0x98badcfe;
    ctx->state[3] = 0x10325476;
}

void Md5UpdateWith(Md5Context* ctx, const void* data, uint32_t length, Md5BlocksFn blocks) {
    const uint8_t* input = static_cast<const uint8_t*>(data);
    uint32_t index = (ctx->count[0] >> 3) & 63;
    if ((ctx->count[0] += length << 3) < (length << 3))
        ctx->count[1]++;
    ctx->count[1] += length >> 29;
    uint32_t partLen = 64 - index;
    uint32_t i = 0;
    if (length >= partLen) {
        // Only a leading partial block passes through the buffer.
        if (index > 0) {
            memcpy(&ctx->buffer[index], input, partLen);
            blocks(ctx->state, ctx->buffer, 1);
            i = partLen;
        }
        // Whole blocks straight from the caller's memory, in one call.
        uint32_t whole = (length - i) / 64;
        if (whole > 0)
            blocks(ctx->state, &input[i], whole);
        i += whole * 64;
        index = 0;
    }
    if (length > i)
        memcpy(&ctx->buffer[index], &input[i], length - i);
}

void Md5Update(Md5Context* ctx, const void* data, uint32_t length) {
    Md5UpdateWith(ctx, data, length, Md5ChosenBlocks());
}

void Md5FinalWith(Md5Context* ctx, Md5BlocksFn blocks) {
    uint8_t bits[8];
    Encode(bits, ctx->count, 8);
    uint32_t index = (ctx->count[0] >> 3) & 63;
    uint32_t padLen = index < 56 ? 56 - index : 120 - index;
    Md5UpdateWith(ctx, kPadding, padLen, blocks);
    Md5UpdateWith(ctx, bits, 8, blocks);
    Encode(ctx->digest, ctx->state, 16);
    Wipe(ctx->state, sizeof ctx->state);
    Wipe(ctx->count, sizeof ctx->count);
    Wipe(ctx->buffer, sizeof ctx->buffer);
}

void Md5Final(Md5Context* ctx) {
    Md5FinalWith(ctx, Md5ChosenBlocks());
}

char* DigestToHex(const uint8_t digest[16]) {
    static const char kHexDigits[] = "0123456789abcdef";
    char* text = new (std::nothrow) char[kChecksumBufferSize];
    if (!text)
        return nullptr;
    memset(text, 0, kChecksumBufferSize);
    for (int i = 0; i < 16; i++) {
        text[i * 2] = kHexDigits[digest[i] >> 4];
        text[i * 2 + 1] = kHexDigits[digest[i] & 15];
    }
    return text;
}

void FreeChecksum(char* text) {
    delete[] text;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
