#include "jobs/JobRunner.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

constexpr int kMaxJobs = 3000;

// A stack reservation that no address space has room for: beyond 2 GiB in a
// 32-bit process; in a 64-bit one far beyond what Windows gives a process
// (Wine refuses 2^36 bytes and more cleanly, but crashes on values near the
// largest SIZE_T).
constexpr SIZE_T kNoRoomStack = sizeof(void*) == 8 ? (SIZE_T)1 << 48 : 0x7ff00000;

// What the test jobs saw; reset by the fixture. Worker threads only record,
// the test thread judges.
struct JobRecord {
    std::atomic<LONG> arrived{0}; // took their path and freed the slot
    std::atomic<LONG> running{0}; // bodies running right now
    std::atomic<bool> overlapped{false};
    std::atomic<LONG> ran{0};      // bodies that ran
    std::atomic<LONG> finished{0}; // threads at their end
    std::atomic<LONG> seen[kMaxJobs];
    std::atomic<LONG> lastPathLength{0};
    std::atomic<SIZE_T> stackReserved{0};
    std::atomic<int> yields{0}; // how long each body lingers
};

JobRecord record;

void ResetRecord() {
    record.arrived = 0;
    record.running = 0;
    record.overlapped = false;
    record.ran = 0;
    record.finished = 0;
    for (auto& count : record.seen)
        count = 0;
    record.lastPathLength = 0;
    record.stackReserved = 0;
    record.yields = 10;
}

// The common frame of a job routine around a body that notes which job ran
// and whether another body ran at the same time. Paths are "job-N".
DWORD WINAPI RecordingJob(LPVOID param) {
    const std::string taken = TakeJobPath(param);
    const char* path = taken.c_str();
    record.arrived++;
    if (WaitForRunToken()) {
        if (record.running.fetch_add(1) != 0)
            record.overlapped = true;
        // Give a second body, were one let in, the chance to show.
        for (int i = 0; i < record.yields; i++)
            SwitchToThread();
        record.lastPathLength = lstrlenA(path);
        if (strncmp(path, "job-", 4) == 0) {
            int n = atoi(path + 4);
            if (n >= 0 && n < kMaxJobs)
                record.seen[n]++;
        }
        record.running--;
        record.ran++;
        ReleaseRunToken();
    }
    record.finished++;
    return 0;
}

// Size of the calling thread's stack reservation: every region that belongs
// to the allocation holding a local variable.
SIZE_T StackReservation() {
    MEMORY_BASIC_INFORMATION info;
    VirtualQuery(&info, &info, sizeof info);
    char* base = static_cast<char*>(info.AllocationBase);
    SIZE_T size = 0;
    while (VirtualQuery(base + size, &info, sizeof info) && info.AllocationBase == base)
        size += info.RegionSize;
    return size;
}

__attribute__((noinline)) LONG UseStack(size_t depth) {
    volatile char frame[512 * 1024];
    memset(const_cast<char*>(frame), (int)depth, sizeof frame);
    return frame[depth % sizeof frame];
}

// Notes its stack reservation; "deep" also uses half a megabyte of it.
DWORD WINAPI StackJob(LPVOID param) {
    const std::string path = TakeJobPath(param);
    if (WaitForRunToken()) {
        record.stackReserved = StackReservation();
        if (path == "deep")
            record.ran += UseStack(1) == 1 ? 1 : 0;
        ReleaseRunToken();
    }
    record.finished++;
    return 0;
}

std::string JobName(int n) {
    return "job-" + std::to_string(n);
}

// Every test starts with no job allowed to run (as before start-up releases
// RunToken) and leaves the runner so: all its threads ended, RunToken taken
// back, JobState Idle, the counters 0.
class JobRunnerTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(CreateJobEvents());
        WaitForSingleObject(RunToken, 0);
        ResetRecord();
        JobState = Idle;
        FilesQueued = 0;
        FilesStarted = 0;
    }

    void TearDown() override {
        // Lets any job a failed test left waiting run through and end.
        ReleaseRunToken();
        EXPECT_TRUE(WaitUntil([&] { return record.finished == started_; }, 120000));
        WaitForSingleObject(RunToken, 0);
        EXPECT_EQ(WaitForSingleObject(SlotFree, 0), WAIT_OBJECT_0) << "slot left taken";
        SetEvent(SlotFree);
        JobState = Idle;
        FilesQueued = 0;
        FilesStarted = 0;
    }

    bool Start(const std::string& path, LPTHREAD_START_ROUTINE routine = RecordingJob,
               SIZE_T stackReserve = kJobStackReserve) {
        if (!StartJob(path.c_str(), routine, stackReserve))
            return false;
        started_++;
        return true;
    }

    LONG started_ = 0;
};

} // namespace

TEST_F(JobRunnerTest, TenJobsEachRunOnceNeverTwoAtOnce) {
    ReleaseRunToken();
    for (int n = 0; n < 10; n++)
        ASSERT_TRUE(Start(JobName(n)));
    ASSERT_TRUE(WaitUntil([] { return record.ran == 10; }));
    EXPECT_FALSE(record.overlapped);
    for (int n = 0; n < 10; n++)
        EXPECT_EQ(record.seen[n], 1) << JobName(n);
}

TEST_F(JobRunnerTest, QueuedJobsWaitWhileRunTokenIsHeld) {
    for (int n = 0; n < 10; n++)
        ASSERT_TRUE(Start(JobName(n)));
    ASSERT_TRUE(WaitUntil([] { return record.arrived == 10; }));
    // All ten wait at RunToken; none may get past it while it is held.
    EXPECT_FALSE(WaitUntil([] { return record.ran > 0; }, 300));
    ReleaseRunToken();
    EXPECT_TRUE(WaitUntil([] { return record.ran == 10; }));
    EXPECT_FALSE(record.overlapped);
}

TEST_F(JobRunnerTest, ThreeThousandQueuedJobsAllRun) {
    record.yields = 1;
    for (int n = 0; n < kMaxJobs; n++)
        ASSERT_TRUE(Start(JobName(n))) << "job " << n << " dropped, error " << GetLastError();
    // While RunToken is held, only so many threads wait; the rest of the jobs
    // wait without one and must not be lost.
    ASSERT_TRUE(WaitUntil([] { return record.arrived == kMaxWaitingJobThreads; }, 60000));
    EXPECT_FALSE(WaitUntil([] { return record.arrived > kMaxWaitingJobThreads; }, 200));
    ReleaseRunToken();
    ASSERT_TRUE(WaitUntil([] { return record.ran == kMaxJobs; }, 120000));
    EXPECT_FALSE(record.overlapped);
    LONG missing = 0;
    for (auto& count : record.seen)
        missing += count == 1 ? 0 : 1;
    EXPECT_EQ(missing, 0);
}

TEST_F(JobRunnerTest, QueuedJobsWithoutRoomForAThreadAreSkipped) {
    record.yields = 0;
    for (int n = 0; n < kMaxWaitingJobThreads; n++)
        ASSERT_TRUE(Start(JobName(n)));
    ASSERT_TRUE(WaitUntil([] { return record.arrived == kMaxWaitingJobThreads; }));
    // Queued behind the waiting threads: as many jobs with no room for their
    // stacks as there are waiting threads to hand out threads, then one that
    // must still get its turn.
    for (int n = 0; n < kMaxWaitingJobThreads; n++)
        ASSERT_TRUE(StartJob("job-2999", RecordingJob, kNoRoomStack));
    ASSERT_TRUE(Start(JobName(kMaxWaitingJobThreads)));
    ReleaseRunToken();
    ASSERT_TRUE(WaitUntil([] { return record.ran == kMaxWaitingJobThreads + 1; }, 60000));
    EXPECT_EQ(record.seen[kMaxWaitingJobThreads], 1);
    EXPECT_EQ(record.seen[2999], 0);
}

TEST_F(JobRunnerTest, StackReservationIsSmallUnlessAsked) {
    ReleaseRunToken();
    ASSERT_TRUE(Start("small", StackJob));
    ASSERT_TRUE(WaitUntil([] { return record.finished == 1; }));
    // The usual 1 MiB, below the program's default of 2 MiB.
    EXPECT_LE(record.stackReserved, (SIZE_T)1024 * 1024);

    ASSERT_TRUE(Start("deep", StackJob, 4 * 1024 * 1024));
    ASSERT_TRUE(WaitUntil([] { return record.finished == 2; }));
    EXPECT_GE(record.stackReserved, (SIZE_T)4 * 1024 * 1024);
    EXPECT_EQ(record.ran, 1);
}

TEST_F(JobRunnerTest, DroppedJobsLeaveTheSlotFree) {
    ReleaseRunToken();
    // A path that does not fit would be cut to another name: refused.
    EXPECT_FALSE(Start(std::string(kJobPathSize, 'x')));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILENAME_EXCED_RANGE);
    // A thread that cannot be created (no room for its stack) drops its job.
    EXPECT_FALSE(Start(JobName(0), RecordingJob, kNoRoomStack));
    // Neither kept the slot: the longest path that fits still goes through.
    ASSERT_TRUE(Start("job-1-" + std::string(kJobPathSize - 7, 'y')));
    ASSERT_TRUE(WaitUntil([] { return record.ran == 1; }));
    EXPECT_EQ(record.lastPathLength, kJobPathSize - 1);
    EXPECT_EQ(record.seen[1], 1);
}

TEST_F(JobRunnerTest, BatchEndsWhenEveryArrivalHasStarted) {
    EXPECT_EQ(CountArrival().queued, 1);
    BatchCount count = CountArrival();
    EXPECT_EQ(count.started, 0);
    EXPECT_EQ(count.queued, 2);
    EXPECT_EQ(CountFileStarted().started, 1);
    EXPECT_FALSE(EndBatchIfDone());
    count = CountFileStarted();
    EXPECT_EQ(count.started, 2);
    EXPECT_EQ(count.queued, 2);
    EXPECT_TRUE(EndBatchIfDone());
    count = ReadBatchCount();
    EXPECT_EQ(count.started, 0);
    EXPECT_EQ(count.queued, 0);
}
