#include "engine/Hashing.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "engine/Md5.h"
#include "jobs/JobRunner.h"
#include "tests/support/TestSupport.h"

namespace {

// The same bytes the expected digests were computed for (with md5sum).
std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; i++)
        bytes[i] = (char)(uint8_t)((i * 7) ^ (i >> 8));
    return bytes;
}

const size_t kLargeSize = 3 * 1048576 + 5;
const char kLargeMd5[] = "0d17ef408fe6e1ce8e7584aa43ed6600";

// Takes a checksum text and releases it; "(none)" stands for no result.
std::string Take(char* checksum) {
    if (!checksum)
        return "(none)";
    std::string text(checksum);
    FreeChecksum(checksum);
    return text;
}

// HashFile treats JobState Idle as a cancel, so a job must be "running".
class HashingTest : public testing::Test {
  protected:
    void SetUp() override { JobState = Hashing; }
    void TearDown() override { JobState = Idle; }

    ScratchFolder scratch_;
};

// Runs HashFile on its own thread over a pipe that the test writes: the test
// decides how many bytes HashFile can read before a cancel or a failure.
class PipeFeed {
  public:
    PipeFeed() {
        char name[80];
        static LONG counter;
        wsprintfA(name, "\\\\.\\pipe\\calverin-test-%lu-%ld", GetCurrentProcessId(),
                  InterlockedIncrement(&counter));
        name_ = name;
        pipe_ = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 65536,
                                 65536, 0, nullptr);
        if (pipe_ != INVALID_HANDLE_VALUE)
            thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }

    ~PipeFeed() {
        Close(); // ends a read that still waits
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        FreeChecksum(result_);
    }

    PipeFeed(const PipeFeed&) = delete;
    PipeFeed& operator=(const PipeFeed&) = delete;

    bool Started() const { return thread_ != nullptr; }

    // Writes fail with "no reader" until HashFile has opened the pipe; so the
    // first write is retried until it goes through.
    bool WriteFirst(const std::string& bytes) {
        return WaitUntil([&] { return Write(bytes); });
    }

    bool Write(const std::string& bytes) {
        DWORD written = 0;
        return WriteFile(pipe_, bytes.data(), (DWORD)bytes.size(), &written, nullptr) != FALSE;
    }

    // Returns once HashFile has read every byte written so far.
    bool Drain() { return FlushFileBuffers(pipe_) != FALSE; }

    void Close() {
        if (pipe_ != INVALID_HANDLE_VALUE)
            CloseHandle(pipe_);
        pipe_ = INVALID_HANDLE_VALUE;
    }

    bool Ended(DWORD timeoutMs) { return WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0; }
    const char* Result() const { return result_; }
    DWORD Error() const { return error_; }

  private:
    static DWORD WINAPI Run(LPVOID param) {
        PipeFeed* self = static_cast<PipeFeed*>(param);
        self->result_ = HashFile(self->name_.c_str(), JobCancelled);
        self->error_ = GetLastError();
        return 0;
    }

    std::string name_;
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    HANDLE thread_ = nullptr;
    char* result_ = nullptr;
    DWORD error_ = 0;
};

// Whether the file can be opened without sharing, that is no handle holds it.
bool CanOpenExclusively(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

TEST_F(HashingTest, FilesAroundTheChunkSizeAndALargeFile) {
    const struct {
        size_t size;
        const char* digest;
    } cases[] = {
        {0, "d41d8cd98f00b204e9800998ecf8427e"},
        {1023, "cadbc47d6b04280657c59cea6d266283"},
        {1024, "bbcebe414bf2a706530f282cf5b742b5"},
        {1025, "5bd4a9252f0a0148d6607817126e69b4"},
        {kLargeSize, kLargeMd5},
    };
    for (const auto& c : cases) {
        std::string path = scratch_.WriteFile("data.bin", Pattern(c.size));
        EXPECT_EQ(Take(HashFile(path.c_str(), JobCancelled)), c.digest) << c.size << " bytes";
        // The handle is closed again: nothing holds the file.
        EXPECT_TRUE(CanOpenExclusively(path)) << c.size << " bytes";
    }
}

TEST_F(HashingTest, FileAndStringOfTheSameBytesAgree) {
    const char text[] = "line one\r\nline two";
    std::string path = scratch_.WriteFile("text.txt", text);
    EXPECT_EQ(Take(HashFile(path.c_str(), JobCancelled)), "a1eb36f883f9b00f906ae60f6b0daa26");
    EXPECT_EQ(Take(HashString(text)), "a1eb36f883f9b00f906ae60f6b0daa26");
    EXPECT_EQ(Take(HashString("")), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST_F(HashingTest, FilesThatCannotBeOpenedGiveNoResultAndTheSystemError) {
    std::string missing = scratch_.Path() + "\\missing.bin";
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(HashFile(missing.c_str(), JobCancelled), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(HashFile(scratch_.Path().c_str(), JobCancelled), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);

    std::string busy = scratch_.WriteFile("busy.bin", Pattern(2000));
    HANDLE writer = CreateFileA(busy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(HashFile(busy.c_str(), JobCancelled), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SHARING_VIOLATION);
    CloseHandle(writer);
}

TEST_F(HashingTest, ReadFailingInTheMiddleGivesNoResult) {
    // The writer goes away after 3000 bytes: the reads after them fail
    // (broken pipe), as reads from a failing disk would.
    PipeFeed feed;
    ASSERT_TRUE(feed.Started());
    ASSERT_TRUE(feed.WriteFirst(Pattern(3000)));
    ASSERT_TRUE(feed.Drain());
    feed.Close();

    ASSERT_TRUE(feed.Ended(10000));
    EXPECT_EQ(feed.Result(), nullptr);
    EXPECT_EQ(feed.Error(), (DWORD)ERROR_BROKEN_PIPE);
}

TEST_F(HashingTest, CancelFromAnotherThreadEndsWithinOneChunk) {
    PipeFeed feed;
    ASSERT_TRUE(feed.Started());
    const std::string chunk = Pattern(1024);
    ASSERT_TRUE(feed.WriteFirst(chunk));
    EXPECT_TRUE(feed.Write(chunk));
    EXPECT_TRUE(feed.Write(chunk));
    JobState = Idle;
    // Whether HashFile waits for bytes or still works on earlier ones, this
    // chunk is the most it may read before it notices the cancel.
    feed.Write(chunk);

    // The pipe stays open: HashFile must end on its own.
    bool ended = feed.Ended(10000);
    EXPECT_TRUE(ended) << "HashFile went on reading after the cancel";
    if (ended) {
        EXPECT_EQ(feed.Result(), nullptr);
        // Its end of the pipe is closed: nobody is left to write to.
        EXPECT_FALSE(feed.Write(chunk));
    }
}

TEST_F(HashingTest, CancelledFileGivesNoResultAndIsClosed) {
    std::string path = scratch_.WriteFile("large.bin", Pattern(kLargeSize));
    // While a reader opened as HashFile opens holds the file, it cannot be
    // deleted; so a successful delete below shows the handle was closed.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    CloseHandle(reader);

    JobState = Idle; // cancelled: HashFile gives up after its first chunk
    EXPECT_EQ(HashFile(path.c_str(), JobCancelled), nullptr);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}
