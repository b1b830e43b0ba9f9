// The single job slot: one worker thread per queued job, one job body at a time.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "system/WidePath.h"

// Values of JobState.
enum JobStateValue : LONG {
    Idle = 0,         // no job works; written while a job runs, it cancels it
    Hashing = 1,      // a file or a string is being hashed
    Searching = 2,    // a folder tree is being searched
    NextPending = 3,  // a batch stopped between files, waiting for the user
    SearchPaused = 4, // the search stopped at a match, waiting for the user
    Verifying = 5,    // the files of a checksum list are being checked
    Listing = 6       // the files of a folder are being hashed into a new list
};

// Shared between the user-interface thread and the workers, hence atomic.
extern std::atomic<LONG> JobState;
// FilesQueued, FilesStarted, SlotFree, RunToken and JobPath are exported for
// the tests only: the program reaches them through the functions here.
extern std::atomic<LONG> FilesQueued;
extern std::atomic<LONG> FilesStarted;

extern HANDLE SlotFree;       // auto-reset, signalled: JobPath may be written
extern HANDLE RunToken;       // auto-reset: the right to run a job body
extern HANDLE SearchContinue; // auto-reset: resume a search paused at a match

// Room for the longest path the file calls take, and its zero.
constexpr int kJobPathSize = kPathTextSize;
extern char JobPath[kJobPathSize];

// Which batch a hash-file job belongs to: the value of BatchEpoch when it was
// queued. "Stop all files" moves BatchEpoch on, and every job of an older
// batch is then counted out instead of run.
extern std::atomic<LONG> BatchEpoch;

// Stack reservation of every worker thread: the usual 1 MiB, because the jobs
// show message boxes on their own threads (the search from its deepest folder
// level, kDeepestSearchLevel), and a box with visual styles can need
// more than a small stack holds. Waiting threads are bounded below, so this
// reserves at most 128 MiB of a 32-bit address space for them.
constexpr SIZE_T kJobStackReserve = 1024 * 1024;

// At most this many job threads wait for RunToken at once; later jobs wait in
// a queue without a thread and get theirs as waiting threads start their jobs.
// Each waiting thread holds its stack reservation, so thousands of them would
// exhaust a 32-bit address space.
constexpr LONG kMaxWaitingJobThreads = 128;

// JobState turned Idle: the user cancelled the running job. What the jobs
// hand to HashFile.
bool JobCancelled();
// A job is active: JobState is not Idle.
bool IsJobActive();

// Creates the events once; later calls keep the existing ones.
bool CreateJobEvents();

// Hands path (at most kJobPathSize - 1 characters) to a new worker running
// routine with the address of JobPath, or queues it for a worker when
// kMaxWaitingJobThreads already wait. Returns false when the job was dropped.
bool StartJob(const char* path, LPTHREAD_START_ROUTINE routine,
              SIZE_T stackReserve = kJobStackReserve);
// StartJob for a file of the hash-files batch: it counts into FilesQueued at
// once, whether it gets a thread now or waits in the queue, and is counted out
// again when it is dropped.
bool StartBatchJob(const char* path, LPTHREAD_START_ROUTINE routine);

// Common frame of the thread routines: copy the handed path into the thread's
// own text and free the slot for the next StartJob.
std::string TakeJobPath(const void* param);
// TakeJobPath for a batch job, which also takes the job's batch (BatchEpoch
// at its arrival).
std::string TakeBatchJobPath(const void* param, LONG* epoch);
// Waits for RunToken; false when the wait failed (the job must not run).
// Every job routine calls it once, after TakeJobPath: either way the thread
// no longer waits then, so a queued job gets a thread in its place.
bool WaitForRunToken();
void ReleaseRunToken();
void ContinueSearch();

// Batch counters of the hash-files job. Arrivals and the running job's
// updates exclude each other, so no arrival is lost to a reset.
struct BatchCount {
    LONG started;
    LONG queued;
};
// FilesQueued += 1; returns the counts after the arrival.
BatchCount CountArrival();
// FilesQueued -= 1 for a counted job that will never start; ends the batch as
// EndBatchIfDone does, since that job may be the last one it waited for.
void CountDropped();
// FilesStarted += 1; returns the counts after the start.
BatchCount CountFileStarted();
BatchCount ReadBatchCount();
// A batch of files is underway: it has files counted, started or queued.
bool IsBatchRunning();
// When FilesStarted >= FilesQueued the batch has ended: both become 0.
// Returns true when it ended.
bool EndBatchIfDone();
