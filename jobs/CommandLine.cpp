#include "jobs/CommandLine.h"

#include "system/CommandLineScan.h"
#include "jobs/HashFilesJob.h"
#include "jobs/JobRunner.h"

static_assert(kMaxHandedPath == kJobPathSize - 1, "a handed path must fit the job buffer");

namespace {

void StartHashJob(const char* path, void*) {
    StartHashFileJob(path);
}

} // namespace

void SplitCommandLine(const char* text) {
    if (text == nullptr)
        return;
    ScanCommandLine(text, StartHashJob, nullptr);
    ShowArrivedCount();
}
