#include "app/CommandLine.h"

#include "app/CommandLineScan.h"
#include "jobs/HashFilesJob.h"
#include "jobs/JobRunner.h"

static_assert(kMaxHandedPath == kJobPathSize - 1, "a handed path must fit the job buffer");

static void StartHashJob(const char* path, void*) {
    StartHashFileJob(path);
}

void SplitCommandLine(const char* text) {
    if (text == nullptr)
        return;
    ScanCommandLine(text, StartHashJob, nullptr);
}
