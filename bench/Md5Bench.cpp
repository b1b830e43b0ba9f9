// Each MD5 compression against OpenSSL's MD5 (EVP) in one run: 1 MiB hashed
// in updates of 1 KiB (what HashFile feeds the engine) and of 16 KiB, by each
// in turn, round after round; the median round of each counts. Rounds are
// timed in this thread's CPU time, so time spent descheduled on a busy
// machine counts against none of them.
#include "engine/Md5.h"
#include "engine/Md5Avx512.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr uint32_t kBufferSize = 1 << 20; // stays in cache: measures the compression
constexpr int kRounds = 101;

double CpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

double EngineRound(Md5BlocksFn blocks, const std::vector<uint8_t>& data, uint32_t update,
                   uint8_t digest[16]) {
    double start = CpuSeconds();
    Md5Context ctx;
    Md5Init(&ctx);
    for (uint32_t offset = 0; offset < data.size(); offset += update)
        Md5UpdateWith(&ctx, &data[offset], update, blocks);
    Md5FinalWith(&ctx, blocks);
    double seconds = CpuSeconds() - start;
    memcpy(digest, ctx.digest, 16);
    return seconds;
}

double OpensslRound(EVP_MD_CTX* ctx, const std::vector<uint8_t>& data, uint32_t update,
                    uint8_t digest[16]) {
    double start = CpuSeconds();
    EVP_DigestInit_ex(ctx, EVP_md5(), nullptr);
    for (uint32_t offset = 0; offset < data.size(); offset += update)
        EVP_DigestUpdate(ctx, &data[offset], update);
    EVP_DigestFinal_ex(ctx, digest, nullptr);
    return CpuSeconds() - start;
}

double MegabytesPerSecond(std::vector<double>& seconds) {
    std::nth_element(seconds.begin(), seconds.begin() + seconds.size() / 2, seconds.end());
    return kBufferSize / 1e6 / seconds[seconds.size() / 2];
}

struct Engine {
    const char* name;
    Md5BlocksFn blocks;
};

} // namespace

int main() {
    std::vector<uint8_t> data(kBufferSize);
    uint32_t seed = 0x12345678;
    for (uint8_t& byte : data) {
        seed = seed * 1664525 + 1013904223;
        byte = (uint8_t)(seed >> 24);
    }

    std::vector<Engine> engines = {{"scalar", TransformBlocks}};
    if (Avx512Runs())
        engines.push_back({"AVX-512", Md5BlocksAvx512});
    else
        printf("AVX-512 skipped: this processor or system does not run AVX-512VL\n");

    EVP_MD_CTX* openssl = EVP_MD_CTX_new();
    printf("median of %d rounds of 1 MiB, MB/s and ratio to OpenSSL EVP\n", kRounds);
    for (uint32_t update : {1024u, 16384u}) {
        std::vector<std::vector<double>> seconds(engines.size() + 1);
        for (int round = 0; round < kRounds; round++) {
            uint8_t reference[16], digest[16];
            seconds.back().push_back(OpensslRound(openssl, data, update, reference));
            for (size_t e = 0; e < engines.size(); e++) {
                seconds[e].push_back(EngineRound(engines[e].blocks, data, update, digest));
                if (memcmp(digest, reference, 16) != 0) {
                    fprintf(stderr, "digests differ: the %s engine is wrong\n", engines[e].name);
                    return 1;
                }
            }
        }
        double theirs = MegabytesPerSecond(seconds.back());
        printf("%2u KiB updates:  OpenSSL %7.1f", update / 1024, theirs);
        for (size_t e = 0; e < engines.size(); e++) {
            double ours = MegabytesPerSecond(seconds[e]);
            printf("   %s %7.1f  %.3fx", engines[e].name, ours, ours / theirs);
        }
        printf("\n");
    }
    EVP_MD_CTX_free(openssl);

    printf("the program picks here: %s\n",
           Md5ChosenBlocks() == Md5BlocksAvx512 ? "AVX-512" : "scalar");
    return 0;
}
