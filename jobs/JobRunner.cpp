#include "jobs/JobRunner.h"
#include "jobs/HashBatch.h"

#include <new>

std::atomic<LONG> JobState{Idle};
std::atomic<LONG> FilesQueued{0};
std::atomic<LONG> FilesStarted{0};

HANDLE SlotFree;
HANDLE RunToken;
HANDLE SearchContinue;

char JobPath[kJobPathSize];
std::atomic<LONG> BatchEpoch{0};

namespace {

// Handed with JobPath, under the same slot.
LONG JobEpoch;

} // namespace

namespace {

// A critical section set up before main, so it exists before any job starts.
class Lock {
  public:
    Lock() { InitializeCriticalSection(&section_); }
    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

  private:
    CRITICAL_SECTION section_;
};

class Guard {
  public:
    explicit Guard(Lock& lock) : lock_(lock) { lock_.Enter(); }
    ~Guard() { lock_.Leave(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

  private:
    Lock& lock_;
};

// Makes the compound updates of the batch counters exclusive.
Lock batchLock;

BatchCount CurrentCount() {
    return BatchCount{FilesStarted.load(), FilesQueued.load()};
}

// Both counts back to 0 once every counted file has started; true when so.
// Caller holds batchLock.
bool EndIfDone() {
    if (FilesStarted.load() < FilesQueued.load())
        return false;
    FilesStarted.store(0);
    FilesQueued.store(0);
    return true;
}

// A job that waits for a thread of its own.
struct PendingJob {
    PendingJob* next;
    LPTHREAD_START_ROUTINE routine;
    SIZE_T stackReserve;
    bool inBatch; // counted into FilesQueued
    LONG epoch;   // BatchEpoch at arrival
    char* path;
};

// Guards waitingThreads and the queue of pending jobs.
Lock queueLock;
LONG waitingThreads; // started threads that have not yet passed WaitForRunToken
PendingJob* pendingHead;
PendingJob* pendingTail;

// Queues a copy of the job; false when memory ran out. Caller holds queueLock.
bool Enqueue(const char* path, LPTHREAD_START_ROUTINE routine, SIZE_T stackReserve, bool inBatch,
             LONG epoch) {
    PendingJob* job =
        new (std::nothrow) PendingJob{nullptr, routine, stackReserve, inBatch, epoch, nullptr};
    if (!job)
        return false;
    job->path = new (std::nothrow) char[lstrlenA(path) + 1];
    if (!job->path) {
        delete job;
        return false;
    }
    lstrcpyA(job->path, path);
    if (pendingTail)
        pendingTail->next = job;
    else
        pendingHead = job;
    pendingTail = job;
    return true;
}

// Takes the oldest pending job, or null. Caller holds queueLock.
PendingJob* Dequeue() {
    PendingJob* job = pendingHead;
    if (job) {
        pendingHead = job->next;
        if (!pendingHead)
            pendingTail = nullptr;
    }
    return job;
}

void FreeJob(PendingJob* job) {
    delete[] job->path;
    delete job;
}

// A new thread for the job, which gets its path through JobPath; the caller
// holds the slot (SlotFree taken), which passes to the new thread. On failure
// the slot is free again.
bool CreateJobThread(const char* path, LPTHREAD_START_ROUTINE routine, SIZE_T stackReserve,
                     LONG epoch) {
    lstrcpynA(JobPath, path, kJobPathSize);
    JobEpoch = epoch;
    HANDLE thread = CreateThread(nullptr, stackReserve, routine, JobPath,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
        DWORD error = GetLastError();
        SetEvent(SlotFree);
        SetLastError(error);
        return false;
    }
    CloseHandle(thread);
    return true;
}

// The hand-over through JobPath on a worker thread, which may wait for the
// slot: one thread at a time, each freeing the slot once it has copied the
// path (TakeJobPath).
bool LaunchThread(const char* path, LPTHREAD_START_ROUTINE routine, SIZE_T stackReserve,
                  LONG epoch) {
    if (WaitForSingleObject(SlotFree, INFINITE) != WAIT_OBJECT_0)
        return false;
    return CreateJobThread(path, routine, stackReserve, epoch);
}

// The thread that has copied its path passes the slot to the oldest queued
// job while threads may still wait, or frees it. So the user-interface
// thread never waits for a new thread to start: it queues when the slot is
// taken, and the threads launch one another.
void PassSlotOn() {
    for (;;) {
        PendingJob* job;
        {
            Guard guard(queueLock);
            job = waitingThreads < kMaxWaitingJobThreads ? Dequeue() : nullptr;
            if (!job) {
                SetEvent(SlotFree);
                return;
            }
            waitingThreads++;
        }
        const bool launched =
            CreateJobThread(job->path, job->routine, job->stackReserve, job->epoch);
        if (!launched && job->inBatch)
            CountDropped();
        FreeJob(job);
        if (launched)
            return;
        Guard guard(queueLock);
        waitingThreads--;
        // The failed launch freed the slot: take it back for the next job.
        if (WaitForSingleObject(SlotFree, 0) != WAIT_OBJECT_0)
            return;
    }
}

// A thread stopped waiting: give the oldest queued job a thread in its place.
// A job whose thread cannot be created is dropped and the next one tried, so
// the queue never stalls with no thread left to drain it.
void LaunchPendingJobs() {
    PendingJob* job;
    {
        Guard guard(queueLock);
        waitingThreads--;
        job = waitingThreads < kMaxWaitingJobThreads ? Dequeue() : nullptr;
        if (job)
            waitingThreads++;
    }
    while (job) {
        bool launched = LaunchThread(job->path, job->routine, job->stackReserve, job->epoch);
        if (!launched && job->inBatch)
            CountDropped();
        FreeJob(job);
        if (launched)
            return;
        Guard guard(queueLock);
        waitingThreads--;
        job = Dequeue();
        if (job)
            waitingThreads++;
    }
}

// StartJob and StartBatchJob; inBatch: the job counts into FilesQueued.
bool QueueJob(const char* path, LPTHREAD_START_ROUTINE routine, SIZE_T stackReserve, bool inBatch) {
    // A cut-off path could name another file, so a path that does not fit is
    // refused rather than shortened.
    if (!path || lstrlenA(path) >= kJobPathSize) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (inBatch)
        CountArrival();
    const LONG epoch = BatchEpoch.load();
    bool launch = false;
    bool queued = false;
    {
        Guard guard(queueLock);
        // Never waits: a slot still held by a starting thread is passed on
        // by that thread to the queue (PassSlotOn).
        launch = !pendingHead && waitingThreads < kMaxWaitingJobThreads &&
                 WaitForSingleObject(SlotFree, 0) == WAIT_OBJECT_0;
        if (launch)
            waitingThreads++;
        else
            queued = Enqueue(path, routine, stackReserve, inBatch, epoch);
    }
    DWORD error = ERROR_NOT_ENOUGH_MEMORY;
    if (launch) {
        if (CreateJobThread(path, routine, stackReserve, epoch))
            return true;
        error = GetLastError();
        Guard guard(queueLock);
        waitingThreads--;
    } else if (queued) {
        return true;
    }
    if (inBatch)
        CountDropped();
    SetLastError(error);
    return false;
}

} // namespace

bool JobCancelled() {
    return JobState.load() == Idle;
}

bool IsJobActive() {
    return JobState.load() != Idle;
}

bool CreateJobEvents() {
    // Kept when they exist: a second set would orphan threads that wait on
    // the first.
    if (!SlotFree)
        SlotFree = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    if (!RunToken)
        RunToken = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!SearchContinue)
        SearchContinue = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return SlotFree && RunToken && SearchContinue;
}

bool StartJob(const char* path, LPTHREAD_START_ROUTINE routine, SIZE_T stackReserve) {
    return QueueJob(path, routine, stackReserve, false);
}

bool StartBatchJob(const char* path, LPTHREAD_START_ROUTINE routine) {
    return QueueJob(path, routine, kJobStackReserve, true);
}

std::string TakeJobPath(const void* param) {
    std::string own(static_cast<const char*>(param));
    PassSlotOn();
    return own;
}

std::string TakeBatchJobPath(const void* param, LONG* epoch) {
    *epoch = JobEpoch;
    return TakeJobPath(param);
}

bool WaitForRunToken() {
    bool taken = WaitForSingleObject(RunToken, INFINITE) == WAIT_OBJECT_0;
    LaunchPendingJobs();
    return taken;
}

void ReleaseRunToken() {
    SetEvent(RunToken);
}

void ContinueSearch() {
    SetEvent(SearchContinue);
}

BatchCount CountArrival() {
    Guard guard(batchLock);
    FilesQueued.fetch_add(1);
    return CurrentCount();
}

void CountDropped() {
    Guard guard(batchLock);
    FilesQueued.fetch_sub(1);
    EndIfDone();
}

BatchCount CountFileStarted() {
    Guard guard(batchLock);
    FilesStarted.fetch_add(1);
    return CurrentCount();
}

BatchCount ReadBatchCount() {
    Guard guard(batchLock);
    return CurrentCount();
}

bool IsBatchRunning() {
    BatchCount count = ReadBatchCount();
    return IsBatchUnderway(count.started, count.queued);
}

bool EndBatchIfDone() {
    Guard guard(batchLock);
    return EndIfDone();
}
