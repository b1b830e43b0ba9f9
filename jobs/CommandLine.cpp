#include "jobs/CommandLine.h"

#include "system/CommandLineScan.h"
#include "jobs/HashFilesJob.h"
#include "jobs/JobRunner.h"
#include "jobs/VerifyJob.h"

static_assert(kMaxHandedPath == kJobPathSize - 1, "a handed path must fit the job buffer");

namespace {

// Whether the path after this one is a list to verify.
struct Split {
    bool verifyNext;
};

void StartPathJob(const char* path, void* context) {
    Split* split = static_cast<Split*>(context);
    if (lstrcmpiA(path, kVerifyToken) == 0) {
        split->verifyNext = true;
        return;
    }
    if (split->verifyNext)
        StartVerifyJob(path);
    else
        StartHashFileJob(path);
    split->verifyNext = false;
}

} // namespace

void SplitCommandLine(const char* text) {
    if (text == nullptr)
        return;
    // A token with no path after it is ignored.
    Split split = {false};
    ScanCommandLine(text, StartPathJob, &split);
}
