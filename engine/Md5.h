// MD5 message digest (RFC 1321) and the checksum text shown everywhere.
#pragma once

#include <cstddef>
#include <cstdint>

struct Md5Context {
    uint32_t state[4];  // chaining values A, B, C, D
    uint32_t count[2];  // message length in bits, low word first
    uint8_t buffer[64]; // bytes taken in but not yet transformed
    uint8_t digest[16]; // result of the last Final
};

void Md5Init(Md5Context* ctx);
void Md5Update(Md5Context* ctx, const void* data, uint32_t length);
void Md5Final(Md5Context* ctx);

// MD5's compression of count whole 64-byte blocks, each result added into state.
using Md5BlocksFn = void (*)(uint32_t state[4], const uint8_t* block, size_t count);

// The portable compression, right on every processor.
void TransformBlocks(uint32_t state[4], const uint8_t* block, size_t count);

// The compression Md5Update and Md5Final use: the faster one this processor
// runs, picked once.
Md5BlocksFn Md5ChosenBlocks();

// Md5Update and Md5Final with a given compression, so that each can be
// checked and measured against the others.
void Md5UpdateWith(Md5Context* ctx, const void* data, uint32_t length, Md5BlocksFn blocks);
void Md5FinalWith(Md5Context* ctx, Md5BlocksFn blocks);

// Length of a checksum text without its terminating zero.
constexpr int kChecksumLength = 32;
// Size of the buffer DigestToHex hands out.
constexpr int kChecksumBufferSize = 256;

// Returns a new buffer of kChecksumBufferSize bytes holding 32 lower-case hex
// digits and a zero; release it with FreeChecksum. Null only when out of memory.
char* DigestToHex(const uint8_t digest[16]);
void FreeChecksum(char* text);

// The value of a hex digit (0-9, a-f, A-F), or -1 for any other character.
int HexDigitValue(char c);
