// Scale and memory of the file road, measured on the real Calverin.exe under
// Wine (bench/road.sh runs it):
//   - a hand-off of many files in one WM_COPYDATA: every file hashed once,
//     and the round trip of a message sent to the window meanwhile, against
//     the round trip of the idle window;
//   - the peak working set while hashing a 2 GiB (sparse) file against a
//     1 MiB file;
//   - how long a click on the status line takes to end a 2 GiB file.
// Usage: road_bench.exe [FILES [files|memory|cancel]] (default 5000, all parts).
#include "res/resource.h"
#include "bench/WindowTiming.h"
#include "tests/support/AppDriver.h"
#include "tests/support/PipeFile.h"
#include "tests/support/TestSupport.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* kNextFile = "Calculate next checksum >>>";
constexpr DWORD kLongWait = 600000;

struct Spread {
    double median = 0;
    double max = 0;
    size_t count = 0;
};

Spread SpreadOf(std::vector<double> samples) {
    Spread spread;
    spread.count = samples.size();
    if (samples.empty())
        return spread;
    std::sort(samples.begin(), samples.end());
    spread.median = samples[samples.size() / 2];
    spread.max = samples.back();
    return spread;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Threads of a process: every queued file holds a worker until it is hashed,
// and the queue of jobs still without a worker is only drained by waiting
// workers, so the count is back at its idle value exactly when all are done.
int ThreadCount(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == processId ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

std::string MakeFiles(const ScratchFolder& scratch, int count, std::set<std::string>* checksums) {
    std::string commandLine;
    for (int i = 0; i < count; ++i) {
        std::string bytes = "bench file " + std::to_string(i);
        commandLine += Quoted(scratch.WriteFile("f" + std::to_string(i), bytes)) + " ";
        if (checksums != nullptr)
            checksums->insert(ReferenceMd5(bytes));
    }
    return commandLine;
}

// The hand-off runs on a helper thread while this one keeps sending WM_NULL.
bool HandOffWhilePinging(AppDriver& app, const std::string& commandLine, double* handOffMs,
                         std::vector<double>* pings) {
    std::atomic<bool> done{false};
    bool delivered = false;
    double start = NowMs();
    std::thread sender([&] {
        delivered = app.HandOver(commandLine, kLongWait);
        *handOffMs = NowMs() - start;
        done = true;
    });
    // Every send begun before the hand-off returned counts, above all the
    // one that waited for it.
    while (!done)
        pings->push_back(SendRoundTripMs(app.Window(), kLongWait));
    sender.join();
    return delivered;
}

int ManyFiles(int count) {
    ScratchFolder scratch;
    printf("Creating %d files...\n", count);
    std::string commandLine = MakeFiles(scratch, count, nullptr);

    // Run 1, no stops: round trips while the paths are queued and while the
    // queue is worked off, against the idle window.
    {
        AppDriver app("StartInFullMode=0\nMultipleFiles=2\n");
        if (!app.Start())
            return 1;
        std::vector<double> idle;
        for (int i = 0; i < 200; ++i)
            idle.push_back(SendRoundTripMs(app.Window(), kLongWait));
        int idleThreads = ThreadCount(app.ProcessId());
        std::vector<double> during;
        double handOffMs = 0;
        if (!HandOffWhilePinging(app, commandLine, &handOffMs, &during))
            return 1;
        double start = NowMs();
        std::vector<double> working;
        int peakThreads = 0;
        double lastCount = 0;
        for (;;) {
            // Snapshots are costly under Wine; a few a second are enough.
            if (NowMs() - lastCount > 100) {
                lastCount = NowMs();
                int threads = ThreadCount(app.ProcessId());
                peakThreads = std::max(peakThreads, threads);
                if (threads <= idleThreads && app.Text(IDC_STATUS) == "Calverin")
                    break;
            }
            working.push_back(SendRoundTripMs(app.Window(), kLongWait));
            if (NowMs() - start > kLongWait)
                return 1;
        }
        double workMs = NowMs() - start;
        Spread idleSpread = SpreadOf(idle), handOff = SpreadOf(during), work = SpreadOf(working);
        printf("%d files in one WM_COPYDATA (no stops):\n", count);
        printf("  hand-off took %.0f ms; all hashed %.0f ms later\n", handOffMs, workMs);
        printf("  threads: %d idle, at most %d seen while the queue was worked off\n", idleThreads,
               peakThreads);
        printf("  round trip idle:              median %.2f ms, max %.2f ms (%zu sends)\n",
               idleSpread.median, idleSpread.max, idleSpread.count);
        printf("  round trip during hand-off:   median %.2f ms, max %.2f ms (%zu sends)\n",
               handOff.median, handOff.max, handOff.count);
        printf("  round trip while hashing:     median %.2f ms, max %.2f ms (%zu sends)\n",
               work.median, work.max, work.count);
        printf("  ratio max during hand-off / idle median: %.0f\n",
               handOff.max / std::max(idleSpread.median, 0.001));
    }

    // Run 2, a stop after every file: each checksum is seen, so none can be
    // dropped or hashed twice unnoticed.
    {
        std::set<std::string> expected;
        ScratchFolder distinct;
        std::string lines = MakeFiles(distinct, count, &expected);
        AppDriver app("StartInFullMode=0\nMultipleFiles=0\n", AppDriver::GatedExePath());
        if (!app.Start())
            return 1;
        PipeFile gate; // holds the batch open until every path is queued
        if (!app.HandOver(gate.Path()) || !gate.WaitConnected() || !app.HandOver(lines, kLongWait))
            return 1;
        gate.Write("gate");
        gate.End();
        std::string shown = ReferenceMd5("gate");
        std::set<std::string> seen;
        int twice = 0;
        double start = NowMs();
        for (int k = 1; k <= count; ++k) {
            if (!app.WaitForText(IDC_STATUS, kNextFile, kLongWait))
                break;
            app.Click(IDC_STATUS);
            const char* after = k < count ? kNextFile : "Calverin";
            if (!WaitUntil(
                    [&] { return app.Text(IDC_HASH1) != shown && app.Text(IDC_STATUS) == after; },
                    kLongWait))
                break;
            shown = app.Text(IDC_HASH1);
            twice += seen.insert(shown).second ? 0 : 1;
        }
        size_t missing = 0;
        for (const std::string& checksum : expected)
            missing += seen.count(checksum) ? 0 : 1;
        printf("%d files in one WM_COPYDATA, a stop after each (%.0f ms):\n", count,
               NowMs() - start);
        printf("  hashed %zu distinct, missing %zu, twice %d -> %s\n", seen.size(), missing, twice,
               missing == 0 && twice == 0 && seen == expected ? "all hashed" : "FAULT");
        if (missing != 0 || twice != 0)
            return 1;
    }
    return 0;
}

bool MakeSparseFile(const std::string& path, LONGLONG size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = size;
    bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

struct MemoryUse {
    SIZE_T peak = 0;    // peak working set reported by the system
    SIZE_T sampled = 0; // largest working set seen while polling
    double ms = 0;
};

// Hashes one file in a fresh Calverin.exe and reads its memory use.
bool MeasureFile(const std::string& path, MemoryUse* use) {
    AppDriver app("StartInFullMode=0\n");
    double start = NowMs();
    if (!app.Start(Quoted(path)))
        return false;
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.ProcessId());
    if (process == nullptr)
        return false;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    bool finished = false;
    while (NowMs() - start < kLongWait) {
        if (GetProcessMemoryInfo(process, &counters, sizeof counters))
            use->sampled = std::max(use->sampled, counters.WorkingSetSize);
        if (app.Text(IDC_HASH1).size() == 32 && app.IsEnabled(IDC_OPEN)) {
            finished = true;
            break;
        }
        Sleep(20);
    }
    use->ms = NowMs() - start;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters))
        use->peak = counters.PeakWorkingSetSize;
    CloseHandle(process);
    return finished;
}

int Memory() {
    ScratchFolder scratch;
    std::string small = scratch.WriteFile("one-mib.bin", std::string(1 << 20, 'm'));
    std::string large = scratch.Path() + "\\two-gib.bin";
    if (!MakeSparseFile(large, 2LL << 30)) {
        printf("could not create the 2 GiB file\n");
        return 1;
    }
    MemoryUse smallUse, largeUse;
    bool measured = MeasureFile(small, &smallUse) && MeasureFile(large, &largeUse);
    DeleteFileA(large.c_str());
    if (!measured)
        return 1;
    printf("Working set hashing a file (fresh process each):\n");
    printf("  1 MiB: peak %lu KiB, largest sampled %lu KiB (%.0f ms with start-up)\n",
           (unsigned long)smallUse.peak / 1024, (unsigned long)smallUse.sampled / 1024,
           smallUse.ms);
    printf("  2 GiB: peak %lu KiB, largest sampled %lu KiB (%.0f ms with start-up)\n",
           (unsigned long)largeUse.peak / 1024, (unsigned long)largeUse.sampled / 1024,
           largeUse.ms);
    printf("  ratio of peaks 2 GiB / 1 MiB: %.3f\n",
           smallUse.peak ? (double)largeUse.peak / smallUse.peak : 0.0);
    return 0;
}

int Cancel() {
    ScratchFolder scratch;
    std::string large = scratch.Path() + "\\two-gib.bin";
    std::string next = scratch.WriteFile("next.txt", "next");
    if (!MakeSparseFile(large, 2LL << 30))
        return 1;
    int result = 1;
    {
        AppDriver app("StartInFullMode=1\nMultipleFiles=2\n");
        if (app.Start(Quoted(large) + " " + Quoted(next))) {
            // Whichever runs first, the large file is cancelled as soon as it runs.
            bool cancelled = false;
            double clickMs = 0, endMs = 0;
            WaitUntil(
                [&] {
                    if (app.Text(IDC_HASH1) == ReferenceMd5("next") &&
                        app.Text(IDC_STATUS) == "[  Calculating checksum 2 of 2  ]") {
                        clickMs = NowMs();
                        app.Click(IDC_STATUS);
                        cancelled = true;
                    } else if (app.Text(IDC_HASH1).empty() &&
                               app.Text(IDC_STATUS) == "[  Calculating checksum 1 of 2  ]") {
                        // The large file runs first: wait until it is under way.
                        clickMs = NowMs();
                        app.Click(IDC_STATUS);
                        cancelled = true;
                    }
                    return cancelled;
                },
                kLongWait);
            if (cancelled && app.WaitForIdle(kLongWait)) {
                endMs = NowMs() - clickMs;
                bool largeHashed = false;
                for (int id : {IDC_HASH1, IDC_HASH2}) {
                    std::string text = app.Text(id);
                    largeHashed |= !text.empty() && text != ReferenceMd5("next");
                }
                printf("Cancel of a 2 GiB file by the status line: ended %.1f ms after the "
                       "click; %s\n",
                       endMs, largeHashed ? "FAULT: its checksum was shown" : "no checksum shown");
                result = largeHashed ? 1 : 0;
            }
        }
    }
    DeleteFileA(large.c_str());
    return result;
}

} // namespace

int main(int argc, char** argv) {
    int files = argc > 1 ? atoi(argv[1]) : 5000;
    std::string part = argc > 2 ? argv[2] : "all";
    setvbuf(stdout, nullptr, _IONBF, 0);
    int failures = 0;
    if (part == "all" || part == "files")
        failures += ManyFiles(files);
    if (part == "all" || part == "memory")
        failures += Memory();
    if (part == "all" || part == "cancel")
        failures += Cancel();
    return failures == 0 ? 0 : 1;
}
