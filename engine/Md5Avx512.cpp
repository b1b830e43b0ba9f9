#include "engine/Md5Avx512.h"

#include <cpuid.h>
#include <immintrin.h>

#include <cstring>

// The compression alone gets the wider instruction set, so nothing else in
// the program needs a processor that has it.
#define CALVERIN_AVX512 __attribute__((target("avx512f,avx512vl")))

// On 32-bit Windows a thread may start on a stack aligned to 4 bytes only;
// the function aligns it itself before it keeps any vector there.
#if defined(__i386__)
#define CALVERIN_OWN_STACK_ALIGNMENT __attribute__((force_align_arg_pointer))
#else
#define CALVERIN_OWN_STACK_ALIGNMENT
#endif

namespace {

// The system's enabled state components (XCR0); only valid to ask once
// CPUID reports OSXSAVE, else the instruction faults.
uint64_t EnabledStateComponents() {
    uint32_t low, high;
    __asm__ __volatile__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return ((uint64_t)high << 32) | low;
}

// XCR0: SSE and AVX state, the opmask registers and both upper parts of the
// vector registers.
constexpr uint64_t kAvx512State = 0xE6;

uint32_t LoadWord(const uint8_t* in) {
    uint32_t word;
    memcpy(&word, in, 4);
    return word;
}

// Message word i of the block plus the step's constant, in the low lane.
// Summed in a general register off the chain, the constant as an immediate.
#define WORD(i, k) _mm_cvtsi32_si128((int)(LoadWord(block + 4 * (i)) + (k)))

// Truth tables of the round functions for ternary logic on (d, c, b). The
// instruction overwrites its first operand, so that is a copy of d, made off
// the chain, not of the b just made.
constexpr int kF = 0xd8; // (b & c) | (~b & d)
constexpr int kG = 0xac; // (b & d) | (c & ~d)
constexpr int kH = 0x96; // b ^ c ^ d
constexpr int kI = 0x63; // c ^ (b | ~d)

// One step: a is summed with its word and constant while b is still being
// made; b then costs one ternary-logic operation, an add, the rotate and
// the final add. Only the low lane carries the state. The compiler would
// reorder the sums so that b's term waits for the word, which lengthens the
// chain by an add each step: the early sum is hidden from it.
#define STEP(f, a, b, c, d, i, k, s)                                                               \
    a = _mm_add_epi32(a, WORD(i, k));                                                              \
    __asm__("" : "+v"(a));                                                                         \
    a = _mm_add_epi32(a, _mm_ternarylogic_epi32(d, c, b, f));                                      \
    a = _mm_add_epi32(_mm_rol_epi32(a, s), b)

} // namespace

CALVERIN_AVX512 CALVERIN_OWN_STACK_ALIGNMENT void
Md5BlocksAvx512(uint32_t state[4], const uint8_t* block, size_t count) {
    __m128i a = _mm_cvtsi32_si128((int)state[0]), b = _mm_cvtsi32_si128((int)state[1]);
    __m128i c = _mm_cvtsi32_si128((int)state[2]), d = _mm_cvtsi32_si128((int)state[3]);
    for (; count > 0; count--, block += 64) {
        // Kept as words: the 32-bit build has only eight vector registers.
        const uint32_t a0 = (uint32_t)_mm_cvtsi128_si32(a), b0 = (uint32_t)_mm_cvtsi128_si32(b);
        const uint32_t c0 = (uint32_t)_mm_cvtsi128_si32(c), d0 = (uint32_t)_mm_cvtsi128_si32(d);

        STEP(kF, a, b, c, d, 0, 0xd76aa478, 7);
        STEP(kF, d, a, b, c, 1, 0xe8c7b756, 12);
        STEP(kF, c, d, a, b, 2, 0x242070db, 17);
        STEP(kF, b, c, d, a, 3, 0xc1bdceee, 22);
        STEP(kF, a, b, c, d, 4, 0xf57c0faf, 7);
        STEP(kF, d, a, b, c, 5, 0x4787c62a, 12);
        STEP(kF, c, d, a, b, 6, 0xa8304613, 17);
        STEP(kF, b, c, d, a, 7, 0xfd469501, 22);
        STEP(kF, a, b, c, d, 8, 0x698098d8, 7);
        STEP(kF, d, a, b, c, 9, 0x8b44f7af, 12);
        STEP(kF, c, d, a, b, 10, 0xffff5bb1, 17);
        STEP(kF, b, c, d, a, 11, 0x895cd7be, 22);
        STEP(kF, a, b, c, d, 12, 0x6b901122, 7);
        STEP(kF, d, a, b, c, 13, 0xfd987193, 12);
        STEP(kF, c, d, a, b, 14, 0xa679438e, 17);
        STEP(kF, b, c, d, a, 15, 0x49b40821, 22);

        STEP(kG, a, b, c, d, 1, 0xf61e2562, 5);
        STEP(kG, d, a, b, c, 6, 0xc040b340, 9);
        STEP(kG, c, d, a, b, 11, 0x265e5a51, 14);
        STEP(kG, b, c, d, a, 0, 0xe9b6c7aa, 20);
        STEP(kG, a, b, c, d, 5, 0xd62f105d, 5);
        STEP(kG, d, a, b, c, 10, 0x02441453, 9);
        STEP(kG, c, d, a, b, 15, 0xd8a1e681, 14);
        STEP(kG, b, c, d, a, 4, 0xe7d3fbc8, 20);
        STEP(kG, a, b, c, d, 9, 0x21e1cde6, 5);
        STEP(kG, d, a, b, c, 14, 0xc33707d6, 9);
        STEP(kG, c, d, a, b, 3, 0xf4d50d87, 14);
        STEP(kG, b, c, d, a, 8, 0x455a14ed, 20);
        STEP(kG, a, b, c, d, 13, 0xa9e3e905, 5);
        STEP(kG, d, a, b, c, 2, 0xfcefa3f8, 9);
        STEP(kG, c, d, a, b, 7, 0x676f02d9, 14);
        STEP(kG, b, c, d, a, 12, 0x8d2a4c8a, 20);

        STEP(kH, a, b, c, d, 5, 0xfffa3942, 4);
        STEP(kH, d, a, b, c, 8, 0x8771f681, 11);
        STEP(kH, c, d, a, b, 11, 0x6d9d6122, 16);
        STEP(kH, b, c, d, a, 14, 0xfde5380c, 23);
        STEP(kH, a, b, c, d, 1, 0xa4beea44, 4);
        STEP(kH, d, a, b, c, 4, 0x4bdecfa9, 11);
        STEP(kH, c, d, a, b, 7, 0xf6bb4b60, 16);
        STEP(kH, b, c, d, a, 10, 0xbebfbc70, 23);
        STEP(kH, a, b, c, d, 13, 0x289b7ec6, 4);
        STEP(kH, d, a, b, c, 0, 0xeaa127fa, 11);
        STEP(kH, c, d, a, b, 3, 0xd4ef3085, 16);
        STEP(kH, b, c, d, a, 6, 0x04881d05, 23);
        STEP(kH, a, b, c, d, 9, 0xd9d4d039, 4);
        STEP(kH, d, a, b, c, 12, 0xe6db99e5, 11);
        STEP(kH, c, d, a, b, 15, 0x1fa27cf8, 16);
        STEP(kH, b, c, d, a, 2, 0xc4ac5665, 23);

        STEP(kI, a, b, c, d, 0, 0xf4292244, 6);
        STEP(kI, d, a, b, c, 7, 0x432aff97, 10);
        STEP(kI, c, d, a, b, 14, 0xab9423a7, 15);
        STEP(kI, b, c, d, a, 5, 0xfc93a039, 21);
        STEP(kI, a, b, c, d, 12, 0x655b59c3, 6);
        STEP(kI, d, a, b, c, 3, 0x8f0ccc92, 10);
        STEP(kI, c, d, a, b, 10, 0xffeff47d, 15);
        STEP(kI, b, c, d, a, 1, 0x85845dd1, 21);
        STEP(kI, a, b, c, d, 8, 0x6fa87e4f, 6);
        STEP(kI, d, a, b, c, 15, 0xfe2ce6e0, 10);
        STEP(kI, c, d, a, b, 6, 0xa3014314, 15);
        STEP(kI, b, c, d, a, 13, 0x4e0811a1, 21);
        STEP(kI, a, b, c, d, 4, 0xf7537e82, 6);
        STEP(kI, d, a, b, c, 11, 0xbd3af235, 10);
        STEP(kI, c, d, a, b, 2, 0x2ad7d2bb, 15);
        STEP(kI, b, c, d, a, 9, 0xeb86d391, 21);

        a = _mm_add_epi32(a, _mm_cvtsi32_si128((int)a0));
        b = _mm_add_epi32(b, _mm_cvtsi32_si128((int)b0));
        c = _mm_add_epi32(c, _mm_cvtsi32_si128((int)c0));
        d = _mm_add_epi32(d, _mm_cvtsi32_si128((int)d0));
    }
    state[0] = (uint32_t)_mm_cvtsi128_si32(a);
    state[1] = (uint32_t)_mm_cvtsi128_si32(b);
    state[2] = (uint32_t)_mm_cvtsi128_si32(c);
    state[3] = (uint32_t)_mm_cvtsi128_si32(d);
}

bool Avx512Runs() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(ecx & (1u << 27))) // OSXSAVE
        return false;
    if ((EnabledStateComponents() & kAvx512State) != kAvx512State)
        return false;
    if (__get_cpuid_max(0, nullptr) < 7)
        return false;
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    return (ebx & (1u << 16)) && (ebx & (1u << 31)); // AVX512F, AVX512VL
}

bool Avx512Pays() {
    if (!Avx512Runs())
        return false;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    __get_cpuid(0, &eax, &ebx, &ecx, &edx);
    const bool amd = ebx == 0x68747541 && edx == 0x69746e65 && ecx == 0x444d4163; // AuthenticAMD
    __get_cpuid(1, &eax, &ebx, &ecx, &edx);
    unsigned family = (eax >> 8) & 0xf;
    if (family == 0xf)
        family += (eax >> 20) & 0xff;
    // MD5 is one chain of dependent operations, so what counts is each
    // operation's latency. From family 1Ah (Zen 5) on, AMD's vector integer
    // operations take two cycles where the scalar ones take one: there the
    // chain runs at about 0.6 times the scalar speed. Elsewhere (Intel, Zen 4)
    // both take one cycle, and ternary logic makes F and I one operation
    // where scalar code needs two.
    return !(amd && family >= 0x1a);
}
