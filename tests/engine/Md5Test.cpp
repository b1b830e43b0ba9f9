#include "engine/Md5.h"
#include "engine/Md5Avx512.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::string HexOf(const Md5Context& ctx) {
    char* text = DigestToHex(ctx.digest);
    std::string result(text);
    FreeChecksum(text);
    return result;
}

std::string Md5Of(const void* data, size_t size) {
    Md5Context ctx;
    Md5Init(&ctx);
    Md5Update(&ctx, data, (uint32_t)size);
    Md5Final(&ctx);
    return HexOf(ctx);
}

std::string Md5Of(const std::string& message) {
    return Md5Of(message.data(), message.size());
}

// The message in pieces of at most piece bytes, through one compression.
std::string Md5With(Md5BlocksFn blocks, const uint8_t* data, size_t size, size_t piece) {
    Md5Context ctx;
    Md5Init(&ctx);
    for (size_t offset = 0; offset < size; offset += piece)
        Md5UpdateWith(&ctx, data + offset, (uint32_t)std::min(piece, size - offset), blocks);
    Md5FinalWith(&ctx, blocks);
    return HexOf(ctx);
}

const struct {
    const char* message;
    const char* digest;
} kRfc1321Suite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"1234567890123456789012345678901234567890123456789012345678901234567890"
     "1234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

// Bytes that vary in every position and across 256-byte runs; the expected
// digests below were computed for it with an independent MD5.
std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; i++)
        bytes[i] = (uint8_t)((i * 7) ^ (i >> 8));
    return bytes;
}

const char kPattern5000Md5[] = "2eef8cdfbe0194b4593195d40dc4b272";

// Feeds data in pieces whose sizes cycle through pieceSizes.
std::string Md5InPieces(const std::vector<uint8_t>& data, std::vector<uint32_t> pieceSizes) {
    Md5Context ctx;
    Md5Init(&ctx);
    size_t offset = 0;
    for (size_t n = 0; offset < data.size(); n++) {
        uint32_t piece = pieceSizes[n % pieceSizes.size()];
        if (piece > data.size() - offset)
            piece = (uint32_t)(data.size() - offset);
        Md5Update(&ctx, data.data() + offset, piece);
        offset += piece;
    }
    Md5Final(&ctx);
    return HexOf(ctx);
}

} // namespace

TEST(Md5, Rfc1321Suite) {
    for (const auto& c : kRfc1321Suite)
        EXPECT_EQ(Md5Of(c.message), c.digest) << '"' << c.message << '"';
}

// Each compression the engine may pick, whichever this processor gets.
class Md5Compression : public testing::TestWithParam<Md5BlocksFn> {
  protected:
    void SetUp() override {
        if (GetParam() == Md5BlocksAvx512 && !Avx512Runs())
            GTEST_SKIP() << "this processor or system does not run AVX-512VL";
    }
};

INSTANTIATE_TEST_SUITE_P(Md5, Md5Compression, testing::Values(TransformBlocks, Md5BlocksAvx512),
                         [](const testing::TestParamInfo<Md5BlocksFn>& info) {
                             return info.param == Md5BlocksAvx512 ? "Avx512" : "Scalar";
                         });

TEST_P(Md5Compression, Rfc1321Suite) {
    for (const auto& c : kRfc1321Suite)
        EXPECT_EQ(Md5With(GetParam(), (const uint8_t*)c.message, strlen(c.message), 64), c.digest)
            << '"' << c.message << '"';
}

TEST(Md5, Avx512AgreesWithScalarOnEveryLength) {
    if (!Avx512Runs())
        GTEST_SKIP() << "this processor or system does not run AVX-512VL";
    std::mt19937 random(1321);
    std::vector<uint8_t> data((1 << 20) + 17);
    for (uint8_t& byte : data)
        byte = (uint8_t)random();
    for (size_t length = 0; length <= 1000; length++) {
        const uint8_t* message = &data[length]; // a new message each time, at every alignment
        ASSERT_EQ(Md5With(Md5BlocksAvx512, message, length, length + 1),
                  Md5With(TransformBlocks, message, length, length + 1))
            << length << " bytes";
    }
    // Long runs of whole blocks, in the pieces file hashing reads and in one.
    for (size_t piece : {(size_t)1024, (size_t)1000, data.size()})
        EXPECT_EQ(Md5With(Md5BlocksAvx512, &data[1], data.size() - 1, piece),
                  Md5With(TransformBlocks, &data[1], data.size() - 1, piece))
            << "in pieces of " << piece;
}

TEST(Md5, PiecesOfAnySizeGiveTheWholeMessagesDigest) {
    std::vector<uint8_t> data = Pattern(5000);
    ASSERT_EQ(Md5Of(data.data(), data.size()), kPattern5000Md5);
    EXPECT_EQ(Md5InPieces(data, {1}), kPattern5000Md5);
    EXPECT_EQ(Md5InPieces(data, {63, 1}), kPattern5000Md5);
    EXPECT_EQ(Md5InPieces(data, {64}), kPattern5000Md5);
    EXPECT_EQ(Md5InPieces(data, {65}), kPattern5000Md5);
    EXPECT_EQ(Md5InPieces(data, {1024}), kPattern5000Md5);
    // Empty updates between the pieces change nothing.
    EXPECT_EQ(Md5InPieces(data, {0, 100, 0, 7}), kPattern5000Md5);
}

TEST(Md5, LengthsAroundThePaddingBoundary) {
    // 55 bytes still fit the length into the last block; 56 to 63 need an
    // extra padding block; 64 and 65 start a second block.
    const struct {
        size_t length;
        const char* digest;
    } cases[] = {
        {55, "8d24280288a696559fd8d5aa1b6d8c6e"}, {56, "ef2c72b7254c92459e498eddd4ace573"},
        {63, "c4c8c6d513f4e1604eb18508a1769364"}, {64, "a2fcb39a253b9b785b1f97518fa37683"},
        {65, "e49fe82d0bb12967a196c85de313e446"},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> data = Pattern(c.length);
        EXPECT_EQ(Md5Of(data.data(), data.size()), c.digest) << c.length << " bytes";
    }
}

TEST(Md5, UnalignedInputGivesTheSameDigest) {
    // Whole blocks are read straight from the caller's memory, wherever it lies.
    std::vector<uint8_t> data = Pattern(5000);
    std::vector<uint8_t> shifted(data.size() + 3);
    memcpy(shifted.data() + 3, data.data(), data.size());
    EXPECT_EQ(Md5Of(shifted.data() + 3, data.size()), kPattern5000Md5);
}

TEST(Md5, BitCountCarriesIntoItsHighWord) {
    Md5Context ctx;
    Md5Init(&ctx);
    // As if 2^29 - 1 bytes had been taken in: one more byte overflows word 0.
    ctx.count[0] = 0xfffffff8;
    uint8_t byte = 'x';
    Md5Update(&ctx, &byte, 1);
    EXPECT_EQ(ctx.count[0], 0u);
    EXPECT_EQ(ctx.count[1], 1u);
}

TEST(Md5, FinalClearsTheRunningStateAndKeepsTheDigest) {
    std::vector<uint8_t> data = Pattern(5000);
    Md5Context ctx;
    Md5Init(&ctx);
    Md5Update(&ctx, data.data(), 4999); // leaves bytes in the buffer
    Md5Update(&ctx, data.data() + 4999, 1);
    Md5Final(&ctx);

    Md5Context zero;
    memset(&zero, 0, sizeof zero);
    EXPECT_EQ(memcmp(ctx.state, zero.state, sizeof ctx.state), 0);
    EXPECT_EQ(memcmp(ctx.count, zero.count, sizeof ctx.count), 0);
    EXPECT_EQ(memcmp(ctx.buffer, zero.buffer, sizeof ctx.buffer), 0);
    EXPECT_EQ(HexOf(ctx), kPattern5000Md5);

    // A new computation in the same context leaves the last digest readable.
    Md5Init(&ctx);
    EXPECT_EQ(HexOf(ctx), kPattern5000Md5);
}

TEST(Md5, DigestToHexIsLowerCaseWithLeadingZeros) {
    const uint8_t digest[16] = {0x00, 0x0a, 0xff, 0x10, 0xab, 0x01, 0xcd, 0xef,
                                0x09, 0x90, 0x5f, 0xf5, 0x07, 0x70, 0xba, 0xdc};
    char* text = DigestToHex(digest);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "000aff10ab01cdef09905ff50770badc");
    EXPECT_EQ(strlen(text), (size_t)kChecksumLength);
    FreeChecksum(text);
}
