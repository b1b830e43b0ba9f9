// Times HashFile on one file: prints the checksum, the best rate of a few
// runs in MB/s and the MD5 compression this build picked here.
// Usage: calverin_hashbench FILE [RUNS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "engine/Hashing.h"
#include "engine/Md5.h"
#include "engine/Md5Avx512.h"
#include "jobs/JobRunner.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: calverin_hashbench FILE [RUNS]\n");
        return 2;
    }
    const char* path = argv[1];
    int runs = argc > 2 ? atoi(argv[2]) : 3;

    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size = {};
    if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size)) {
        fprintf(stderr, "cannot open %s (error %lu)\n", path, GetLastError());
        return 1;
    }
    CloseHandle(file);

    // HashFile reads an Idle job state as a cancel.
    JobState = Hashing;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 0;
    char* checksum = nullptr;
    for (int run = 0; run < runs; run++) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        char* result = HashFile(path, JobCancelled);
        QueryPerformanceCounter(&end);
        if (!result) {
            fprintf(stderr, "HashFile failed (error %lu)\n", GetLastError());
            return 1;
        }
        double seconds = (double)(end.QuadPart - start.QuadPart) / frequency.QuadPart;
        if (run == 0 || seconds < best)
            best = seconds;
        FreeChecksum(checksum);
        checksum = result;
    }
    printf("%s %.1f %s\n", checksum, (double)size.QuadPart / 1e6 / best,
           Md5ChosenBlocks() == Md5BlocksAvx512 ? "AVX-512" : "scalar");
    FreeChecksum(checksum);
    return 0;
}
