#include "jobs/CommandLine.h"

#include "system/CommandLineScan.h"
#include "jobs/HashFilesJob.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"

static_assert(kMaxHandedPath == kJobPathSize - 1, "a handed path must fit the job buffer");

namespace {

// What the path after a token is for.
enum class NextPath { Hash, CreateList };

void TakePath(const char* path, void* context) {
    NextPath& next = *static_cast<NextPath*>(context);
    if (next == NextPath::CreateList) {
        next = NextPath::Hash;
        RequestCreateList(path);
        return;
    }
    if (lstrcmpiA(path, kCreateToken) == 0) {
        next = NextPath::CreateList;
        return;
    }
    StartHashFileJob(path);
}

} // namespace

void SplitCommandLine(const char* text) {
    if (text == nullptr)
        return;
    NextPath next = NextPath::Hash;
    ScanCommandLine(text, TakePath, &next);
}
