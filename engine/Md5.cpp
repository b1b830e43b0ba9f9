#include "engine/Md5.h"

#include <cstring>
#include <new>

void Md5Init(Md5Context* ctx) {
    ctx->count[0] = ctx->count[1] = 0;
    ctx->state[0] = 0x67452301;
    ctx->state[1] = 0xefcdab89;
    ctx->state[2] = 0x98badcfe;
    ctx->state[3] = 0x10325476;
}

// Placeholder transform; replaced by the unrolled engine.
static uint32_t Rotl(uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }

static void Transform(uint32_t state[4], const uint8_t block[64]) {
    static const uint32_t K[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
        0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
        0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
        0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
        0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
        0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
        0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
        0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
        0xeb86d391};
    static const int S[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                              5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                              4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                              6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    uint32_t m[16];
    for (int i = 0; i < 16; i++)
        m[i] = block[i * 4] | (block[i * 4 + 1] << 8) | (block[i * 4 + 2] << 16) |
               ((uint32_t)block[i * 4 + 3] << 24);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; i++) {
        uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        uint32_t t = d;
        d = c;
        c = b;
        b = b + Rotl(a + f + K[i] + m[g], S[i]);
        a = t;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

void Md5Update(Md5Context* ctx, const void* data, uint32_t length) {
    const uint8_t* in = static_cast<const uint8_t*>(data);
    uint32_t index = (ctx->count[0] >> 3) & 63;
    if ((ctx->count[0] += length << 3) < (length << 3))
        ctx->count[1]++;
    ctx->count[1] += length >> 29;
    uint32_t partLen = 64 - index;
    uint32_t i = 0;
    if (length >= partLen) {
        memcpy(&ctx->buffer[index], in, partLen);
        Transform(ctx->state, ctx->buffer);
        for (i = partLen; i + 63 < length; i += 64)
            Transform(ctx->state, &in[i]);
        index = 0;
    }
    memcpy(&ctx->buffer[index], &in[i], length - i);
}

void Md5Final(Md5Context* ctx) {
    static const uint8_t padding[64] = {0x80};
    uint8_t bits[8];
    for (int i = 0; i < 8; i++)
        bits[i] = (uint8_t)(ctx->count[i / 4] >> ((i % 4) * 8));
    uint32_t index = (ctx->count[0] >> 3) & 63;
    uint32_t padLen = index < 56 ? 56 - index : 120 - index;
    Md5Update(ctx, padding, padLen);
    Md5Update(ctx, bits, 8);
    for (int i = 0; i < 16; i++)
        ctx->digest[i] = (uint8_t)(ctx->state[i / 4] >> ((i % 4) * 8));
    memset(ctx->state, 0, sizeof ctx->state);
    memset(ctx->count, 0, sizeof ctx->count);
    memset(ctx->buffer, 0, sizeof ctx->buffer);
}

char* DigestToHex(const uint8_t digest[16]) {
    static const char hex[] = "0123456789abcdef";
    char* text = new (std::nothrow) char[kChecksumBufferSize];
    if (!text)
        return nullptr;
    for (int i = 0; i < 16; i++) {
        text[i * 2] = hex[digest[i] >> 4];
        text[i * 2 + 1] = hex[digest[i] & 15];
    }
    text[kChecksumLength] = 0;
    return text;
}

void FreeChecksum(char* text) { delete[] text; }
