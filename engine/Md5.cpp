#include "engine/Md5.h"

#include <cstring>
#include <new>

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

// Bytes to words, least significant byte first; length is a multiple of 4.
void Decode(uint32_t* out, const uint8_t* in, uint32_t length) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // The machine's own order: plain loads, which the optimiser would
    // otherwise turn into a slow vector shuffle of the bytes below.
    memcpy(out, in, length);
#else
    for (uint32_t i = 0, j = 0; j < length; i++, j += 4)
        out[i] = (uint32_t)in[j] | ((uint32_t)in[j + 1] << 8) | ((uint32_t)in[j + 2] << 16) |
                 ((uint32_t)in[j + 3] << 24);
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

// The MD5 compression of one 64-byte block into state.
void Transform(uint32_t state[4], const uint8_t block[64]) {
    uint32_t x[16];
    Decode(x, block, 64);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    StepF(a, b, c, d, x[0], 0xd76aa478, 7);
    StepF(d, a, b, c, x[1], 0xe8c7b756, 12);
    StepF(c, d, a, b, x[2], 0x242070db, 17);
    StepF(b, c, d, a, x[3], 0xc1bdceee, 22);
    StepF(a, b, c, d, x[4], 0xf57c0faf, 7);
    StepF(d, a, b, c, x[5], 0x4787c62a, 12);
    StepF(c, d, a, b, x[6], 0xa8304613, 17);
    StepF(b, c, d, a, x[7], 0xfd469501, 22);
    StepF(a, b, c, d, x[8], 0x698098d8, 7);
    StepF(d, a, b, c, x[9], 0x8b44f7af, 12);
    StepF(c, d, a, b, x[10], 0xffff5bb1, 17);
    StepF(b, c, d, a, x[11], 0x895cd7be, 22);
    StepF(a, b, c, d, x[12], 0x6b901122, 7);
    StepF(d, a, b, c, x[13], 0xfd987193, 12);
    StepF(c, d, a, b, x[14], 0xa679438e, 17);
    StepF(b, c, d, a, x[15], 0x49b40821, 22);

    StepG(a, b, c, d, x[1], 0xf61e2562, 5);
    StepG(d, a, b, c, x[6], 0xc040b340, 9);
    StepG(c, d, a, b, x[11], 0x265e5a51, 14);
    StepG(b, c, d, a, x[0], 0xe9b6c7aa, 20);
    StepG(a, b, c, d, x[5], 0xd62f105d, 5);
    StepG(d, a, b, c, x[10], 0x02441453, 9);
    StepG(c, d, a, b, x[15], 0xd8a1e681, 14);
    StepG(b, c, d, a, x[4], 0xe7d3fbc8, 20);
    StepG(a, b, c, d, x[9], 0x21e1cde6, 5);
    StepG(d, a, b, c, x[14], 0xc33707d6, 9);
    StepG(c, d, a, b, x[3], 0xf4d50d87, 14);
    StepG(b, c, d, a, x[8], 0x455a14ed, 20);
    StepG(a, b, c, d, x[13], 0xa9e3e905, 5);
    StepG(d, a, b, c, x[2], 0xfcefa3f8, 9);
    StepG(c, d, a, b, x[7], 0x676f02d9, 14);
    StepG(b, c, d, a, x[12], 0x8d2a4c8a, 20);

    StepH(a, b, c, d, x[5], 0xfffa3942, 4);
    StepH(d, a, b, c, x[8], 0x8771f681, 11);
    StepH(c, d, a, b, x[11], 0x6d9d6122, 16);
    StepH(b, c, d, a, x[14], 0xfde5380c, 23);
    StepH(a, b, c, d, x[1], 0xa4beea44, 4);
    StepH(d, a, b, c, x[4], 0x4bdecfa9, 11);
    StepH(c, d, a, b, x[7], 0xf6bb4b60, 16);
    StepH(b, c, d, a, x[10], 0xbebfbc70, 23);
    StepH(a, b, c, d, x[13], 0x289b7ec6, 4);
    StepH(d, a, b, c, x[0], 0xeaa127fa, 11);
    StepH(c, d, a, b, x[3], 0xd4ef3085, 16);
    StepH(b, c, d, a, x[6], 0x04881d05, 23);
    StepH(a, b, c, d, x[9], 0xd9d4d039, 4);
    StepH(d, a, b, c, x[12], 0xe6db99e5, 11);
    StepH(c, d, a, b, x[15], 0x1fa27cf8, 16);
    StepH(b, c, d, a, x[2], 0xc4ac5665, 23);

    StepI(a, b, c, d, x[0], 0xf4292244, 6);
    StepI(d, a, b, c, x[7], 0x432aff97, 10);
    StepI(c, d, a, b, x[14], 0xab9423a7, 15);
    StepI(b, c, d, a, x[5], 0xfc93a039, 21);
    StepI(a, b, c, d, x[12], 0x655b59c3, 6);
    StepI(d, a, b, c, x[3], 0x8f0ccc92, 10);
    StepI(c, d, a, b, x[10], 0xffeff47d, 15);
    StepI(b, c, d, a, x[1], 0x85845dd1, 21);
    StepI(a, b, c, d, x[8], 0x6fa87e4f, 6);
    StepI(d, a, b, c, x[15], 0xfe2ce6e0, 10);
    StepI(c, d, a, b, x[6], 0xa3014314, 15);
    StepI(b, c, d, a, x[13], 0x4e0811a1, 21);
    StepI(a, b, c, d, x[4], 0xf7537e82, 6);
    StepI(d, a, b, c, x[11], 0xbd3af235, 10);
    StepI(c, d, a, b, x[2], 0x2ad7d2bb, 15);
    StepI(b, c, d, a, x[9], 0xeb86d391, 21);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    // The decoded words are message content; leave none on the stack.
    Wipe(x, sizeof x);
}

} // namespace

void Md5Init(Md5Context* ctx) {
    ctx->count[0] = ctx->count[1] = 0;
    ctx->state[0] = 0x67452301;
    ctx->state[1] = 0xefcdab89;
    ctx->state[2] = 0x98badcfe;
    ctx->state[3] = 0x10325476;
}

void Md5Update(Md5Context* ctx, const void* data, uint32_t length) {
    const uint8_t* input = static_cast<const uint8_t*>(data);
    uint32_t index = (ctx->count[0] >> 3) & 63;
    if ((ctx->count[0] += length << 3) < (length << 3))
        ctx->count[1]++;
    ctx->count[1] += length >> 29;
    uint32_t partLen = 64 - index;
    uint32_t i = 0;
    if (length >= partLen) {
        memcpy(&ctx->buffer[index], input, partLen);
        Transform(ctx->state, ctx->buffer);
        // Whole blocks straight from the caller's memory.
        for (i = partLen; i + 63 < length; i += 64)
            Transform(ctx->state, &input[i]);
        index = 0;
    }
    if (length > i)
        memcpy(&ctx->buffer[index], &input[i], length - i);
}

void Md5Final(Md5Context* ctx) {
    uint8_t bits[8];
    Encode(bits, ctx->count, 8);
    uint32_t index = (ctx->count[0] >> 3) & 63;
    uint32_t padLen = index < 56 ? 56 - index : 120 - index;
    Md5Update(ctx, kPadding, padLen);
    Md5Update(ctx, bits, 8);
    Encode(ctx->digest, ctx->state, 16);
    Wipe(ctx->state, sizeof ctx->state);
    Wipe(ctx->count, sizeof ctx->count);
    Wipe(ctx->buffer, sizeof ctx->buffer);
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
