#include "jobs/CommandLine.h"

#include "system/CommandLineScan.h"
#include "jobs/HashFilesJob.h"
#include "jobs/JobRunner.h"
#include "jobs/JobStatus.h"
#include "jobs/VerifyJob.h"

static_assert(kMaxHandedPath == kJobPathSize - 1, "a handed path must fit the job buffer");

namespace {

// What the path after a token is for.
enum class NextPath { Hash, Verify, CreateList };

void StartPathJob(const char* path, void* context) {
    NextPath& next = *static_cast<NextPath*>(context);
    if (lstrcmpiA(path, kVerifyToken) == 0) {
        next = NextPath::Verify;
        return;
    }
    if (lstrcmpiA(path, kCreateToken) == 0) {
        next = NextPath::CreateList;
        return;
    }
    if (next == NextPath::Verify)
        StartVerifyJob(path);
    else if (next == NextPath::CreateList)
        RequestCreateList(path); // its save-file dialog opens from the message loop
    else
        StartHashFileJob(path);
    next = NextPath::Hash;
}

} // namespace

void SplitCommandLine(const char* text) {
    if (text == nullptr)
        return;
    NextPath next = NextPath::Hash;
    ScanCommandLine(text, StartPathJob, &next);
    ShowArrivedCount();
}
