// Engine throughput against OpenSSL's MD5 in one run: the same buffer, hashed
// alternately by each, best of several rounds.
#include "engine/Md5.h"

#include <openssl/md5.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kBufferSize = 1 << 20;  // stays in cache: measures the compression
constexpr int kPassesPerRound = 16;
constexpr int kRounds = 25;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double EngineSeconds(const std::vector<uint8_t>& data, uint8_t digest[16]) {
    Clock::time_point start = Clock::now();
    Md5Context ctx;
    for (int pass = 0; pass < kPassesPerRound; pass++) {
        Md5Init(&ctx);
        Md5Update(&ctx, data.data(), (uint32_t)data.size());
        Md5Final(&ctx);
    }
    double seconds = SecondsSince(start);
    memcpy(digest, ctx.digest, 16);
    return seconds;
}

// The low-level interface is deprecated in OpenSSL 3 but is the plain block
// function without the EVP dispatch, so it is the fairest peer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
double OpensslSeconds(const std::vector<uint8_t>& data, uint8_t digest[16]) {
    Clock::time_point start = Clock::now();
    for (int pass = 0; pass < kPassesPerRound; pass++) {
        MD5_CTX ctx;
        MD5_Init(&ctx);
        MD5_Update(&ctx, data.data(), data.size());
        MD5_Final(digest, &ctx);
    }
    return SecondsSince(start);
}
#pragma GCC diagnostic pop

}  // namespace

int main() {
    std::vector<uint8_t> data(kBufferSize);
    uint32_t seed = 0x12345678;
    for (uint8_t& byte : data) {
        seed = seed * 1664525 + 1013904223;
        byte = (uint8_t)(seed >> 24);
    }

    uint8_t ours[16], theirs[16];
    double bestOurs = 1e9, bestTheirs = 1e9;
    for (int round = 0; round < kRounds; round++) {
        double t = EngineSeconds(data, ours);
        if (t < bestOurs)
            bestOurs = t;
        t = OpensslSeconds(data, theirs);
        if (t < bestTheirs)
            bestTheirs = t;
    }
    if (memcmp(ours, theirs, 16) != 0) {
        fprintf(stderr, "digests differ: the engine is wrong\n");
        return 1;
    }

    double megabytes = (double)kBufferSize * kPassesPerRound / 1e6;
    double oursRate = megabytes / bestOurs, theirsRate = megabytes / bestTheirs;
    printf("MD5 engine:   %8.1f MB/s\n", oursRate);
    printf("OpenSSL MD5:  %8.1f MB/s\n", theirsRate);
    printf("ratio engine/OpenSSL: %.3f\n", oursRate / theirsRate);
    return 0;
}
