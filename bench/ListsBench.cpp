// Verifying checksum lists on the real Calverin.exe under Wine (bench/lists.sh
// runs it): for each list, the time from the hand-off of "/verify LIST" to the
// list window's final summary, and the list window's round trip meanwhile
// (WM_NULL sent again and again), the largest of which is how long the window
// can keep a user waiting.
// Usage: lists_bench.exe LIST [LIST...]   (Windows paths)
#include "res/resource.h"
#include "bench/WindowTiming.h"
#include "tests/support/AppDriver.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kLongWait = 1800000;

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The summary reads "Verifying %d of %d..." while the job runs.
bool Ended(const std::string& summary) {
    return summary.find(" OK, ") != std::string::npos || summary.compare(0, 8, "Stopped:") == 0;
}

int VerifyOne(const std::string& list) {
    AppDriver app;
    if (!app.Start()) {
        printf("%s: the program did not start\n", list.c_str());
        return 1;
    }
    double start = NowMs();
    if (!app.HandOver("/verify \"" + list + "\"")) {
        printf("%s: the hand-off failed\n", list.c_str());
        return 1;
    }
    std::string caption = BaseName(list) + " - Calverin";
    HWND window = nullptr;
    while ((window = FindWindowA(nullptr, caption.c_str())) == nullptr) {
        if (NowMs() - start > kLongWait)
            return 1;
        Sleep(1);
    }
    HWND summary = GetDlgItem(window, IDC_LIST_SUMMARY);
    std::vector<double> trips;
    std::string text;
    while (!Ended(text = WindowText(summary))) {
        trips.push_back(SendRoundTripMs(window, kLongWait));
        if (NowMs() - start > kLongWait) {
            printf("%s: no end within %lu s\n", list.c_str(), kLongWait / 1000);
            return 1;
        }
    }
    double elapsed = NowMs() - start;
    std::sort(trips.begin(), trips.end());
    double median = trips.empty() ? 0 : trips[trips.size() / 2];
    double largest = trips.empty() ? 0 : trips.back();
    printf("%s: %.0f ms; window round trip median %.2f ms, largest %.1f ms (%zu sent); %s\n",
           BaseName(list).c_str(), elapsed, median, largest, trips.size(), text.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printf("Usage: lists_bench.exe LIST [LIST...]\n");
        return 2;
    }
    int failures = 0;
    for (int i = 1; i < argc; ++i)
        failures += VerifyOne(argv[i]);
    return failures == 0 ? 0 : 1;
}
