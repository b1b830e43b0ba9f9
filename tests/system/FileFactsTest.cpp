#include "system/FileFacts.h"
#include "jobs/JobStatus.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr DWORD kNotRead = 0xFFFFFFFF;
constexpr char kHashFormat[] = "Could not hash file: %s\n\n%s";

// Makes a file of the given size without writing its bytes.
bool MakeSizedFile(const std::string& path, DWORD low, LONG high) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool done = SetFilePointer(file, static_cast<LONG>(low), &high, FILE_BEGIN) !=
                    INVALID_SET_FILE_POINTER ||
                GetLastError() == NO_ERROR;
    done = done && SetEndOfFile(file);
    CloseHandle(file);
    return done;
}

std::string Lower(std::string text) {
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

struct ExpandResult {
    int result;
    std::string path;
};

ExpandResult Expand(const std::string& source, int size = MAX_PATH) {
    std::vector<char> buffer(size + 1, '#');
    int result = ExpandLongPath(source.c_str(), buffer.data(), size);
    return {result, buffer.data()};
}

// A long-named folder and file in a scratch folder, with their short forms.
class LongNames : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = scratch_.Path() + "\\Long Folder Name";
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        file_ = folder_ + "\\Mixed Case Long Name.Text";
        scratch_.WriteFile("Long Folder Name\\Mixed Case Long Name.Text", "data");
        // The system's own long forms are what every expansion must reach.
        longFile_ = LongForm(file_);
        longFolder_ = LongForm(folder_);
        char shortPath[MAX_PATH];
        ASSERT_NE(GetShortPathNameA(file_.c_str(), shortPath, MAX_PATH), 0u);
        shortFile_ = shortPath;
        ASSERT_NE(GetShortPathNameA(folder_.c_str(), shortPath, MAX_PATH), 0u);
        shortFolder_ = shortPath;
    }

    static std::string LongForm(const std::string& path) {
        char buffer[MAX_PATH];
        DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
        return std::string(buffer, length);
    }

    ScratchFolder scratch_;
    std::string folder_, file_, longFolder_, longFile_, shortFolder_, shortFile_;
};

} // namespace

TEST(QueryFileSize, ReadsEmptyAndSmallFiles) {
    ScratchFolder scratch;
    DWORD low = 1, high = 1;
    EXPECT_TRUE(QueryFileSize(scratch.WriteFile("empty", "").c_str(), &low, &high));
    EXPECT_EQ(low, 0u);
    EXPECT_EQ(high, 0u);
    EXPECT_TRUE(QueryFileSize(scratch.WriteFile("five", "12345").c_str(), &low, &high));
    EXPECT_EQ(low, 5u);
    EXPECT_EQ(high, 0u);
}

TEST(QueryFileSize, FailsForFilesItCannotOpen) {
    ScratchFolder scratch;
    DWORD low = 0, high = 0;
    EXPECT_FALSE(QueryFileSize((scratch.Path() + "\\missing").c_str(), &low, &high));
    EXPECT_EQ(low, kNotRead);
    EXPECT_EQ(high, kNotRead);

    const std::string path = scratch.WriteFile("locked", "abc");
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(QueryFileSize(path.c_str(), &low, &high));
    FILETIME time;
    EXPECT_FALSE(QueryFileTime(path.c_str(), &time));
    CloseHandle(writer);
    EXPECT_TRUE(QueryFileSize(path.c_str(), &low, &high));
    EXPECT_EQ(low, 3u);
}

TEST(QueryFileSize, LowHalfOfAllOnesIsARealSize) {
    ScratchFolder scratch;
    const std::string allOnes = scratch.Path() + "\\four-gigabytes-less-one";
    const std::string beyond = scratch.Path() + "\\four-gigabytes-and-one";
    ASSERT_TRUE(MakeSizedFile(allOnes, 0xFFFFFFFF, 0));
    ASSERT_TRUE(MakeSizedFile(beyond, 1, 1));
    DWORD low = 0, high = 0;
    // An error left over from earlier work must not turn the size into a failure.
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_TRUE(QueryFileSize(allOnes.c_str(), &low, &high));
    EXPECT_EQ(low, 0xFFFFFFFFu);
    EXPECT_EQ(high, 0u);
    EXPECT_TRUE(QueryFileSize(beyond.c_str(), &low, &high));
    EXPECT_EQ(low, 1u);
    EXPECT_EQ(high, 1u);
}

TEST(QueryFileTime, ReadsTheLastWriteTime) {
    ScratchFolder scratch;
    const std::string path = scratch.WriteFile("dated", "x");
    SYSTEMTIME fields = {};
    fields.wYear = 2021;
    fields.wMonth = 3;
    fields.wDay = 4;
    fields.wHour = 5;
    fields.wMinute = 6;
    fields.wSecond = 7;
    FILETIME written;
    ASSERT_TRUE(SystemTimeToFileTime(&fields, &written));
    HANDLE file =
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);

    FILETIME read = {};
    EXPECT_TRUE(QueryFileTime(path.c_str(), &read));
    EXPECT_EQ(CompareFileTime(&read, &written), 0);
    EXPECT_FALSE(QueryFileTime((scratch.Path() + "\\missing").c_str(), &read));
}

TEST(FormatFileTime, ShowsLocalDateAndTimeWithoutSeconds) {
    SYSTEMTIME local = {};
    local.wYear = 2021;
    local.wMonth = 3;
    local.wDay = 4;
    local.wHour = 15;
    local.wMinute = 6;
    local.wSecond = 57;
    FILETIME localTime, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));

    char date[64], clock[64];
    ASSERT_NE(GetDateFormatA(LOCALE_USER_DEFAULT, 0, &local, nullptr, date, sizeof date), 0);
    ASSERT_NE(
        GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, clock, sizeof clock),
        0);
    char buffer[32];
    const std::string text = FormatFileTime(buffer, &utc);
    EXPECT_EQ(text, std::string(date) + " " + clock);
    EXPECT_NE(text.find("2021"), std::string::npos) << text;
    EXPECT_EQ(text.find("57"), std::string::npos) << text;
}

TEST_F(LongNames, WineGivesShortFormsThatDiffer) {
    EXPECT_NE(Lower(shortFile_), Lower(longFile_));
    EXPECT_EQ(shortFile_.find("Long Folder Name"), std::string::npos) << shortFile_;
    EXPECT_EQ(longFile_.substr(longFile_.size() - 43),
              "\\Long Folder Name\\Mixed Case Long Name.Text");
}

TEST_F(LongNames, ShortPathComesBackLongInTheCaseOnDisk) {
    // Lower case throughout: every component after the root takes the case
    // stored on disk, the root stays as given.
    const std::string source = Lower(shortFile_);
    ExpandResult expanded = Expand(source);
    EXPECT_EQ(expanded.path, source.substr(0, 3) + longFile_.substr(3));
    EXPECT_EQ(expanded.result, static_cast<int>(longFile_.size()));

    EXPECT_EQ(ToLongPath(shortFile_.c_str()), longFile_);
}

TEST_F(LongNames, MissingMiddleComponentKeepsTheExpandedHeadAndTheRest) {
    const std::string rest = "\\No Such\\deeper\\FILE~1.TXT";
    ExpandResult expanded = Expand(shortFolder_ + rest);
    EXPECT_EQ(expanded.result, 0);
    EXPECT_EQ(expanded.path, longFolder_ + rest);
    // Runs of backslashes after a found component become one.
    expanded = Expand(shortFolder_ + "\\\\missing");
    EXPECT_EQ(expanded.path, longFolder_ + "\\missing");
}

TEST_F(LongNames, WildcardComponentIsNotAName) {
    const std::string source = shortFolder_ + "\\*.Text";
    ExpandResult expanded = Expand(source);
    EXPECT_EQ(expanded.result, 0);
    EXPECT_EQ(expanded.path, longFolder_ + "\\*.Text");
}

TEST_F(LongNames, NoBufferSizeIsOverrun) {
    // Every size from nothing to room enough: the result fits the buffer, is
    // the whole long path when there is room, and the size when there is not.
    const int longLength = static_cast<int>(longFile_.size());
    for (int size = 1; size <= longLength + 2; ++size) {
        std::vector<char> buffer(size + 9, '#');
        buffer.back() = '\0'; // a fault shows as a failure, not a read past the end
        int result = ExpandLongPath(shortFile_.c_str(), buffer.data(), size);
        ASSERT_EQ(std::string(buffer.data() + size, 8), std::string(8, '#')) << size;
        ASSERT_LT(std::strlen(buffer.data()), static_cast<size_t>(size)) << size;
        if (size > longLength) {
            EXPECT_EQ(result, longLength);
            EXPECT_EQ(std::string(buffer.data()), longFile_);
        } else {
            EXPECT_EQ(result, size) << size;
            // Fail soft: once the source fits, the buffer names the file.
            if (size > static_cast<int>(shortFile_.size())) {
                EXPECT_EQ(LongForm(buffer.data()), longFile_) << size;
            }
        }
    }
}

TEST(ExpandLongPath, PathsWithoutAComponentAfterTheRootStayAsGiven) {
    for (const char* path :
         {"C:\\", "C:\\\\", "C:", "C:file.txt", "relative\\file.txt", "file.txt", "", "\\\\server",
          "\\\\server\\", "\\\\server\\share", "\\\\server\\share\\\\"}) {
        ExpandResult expanded = Expand(path);
        EXPECT_EQ(expanded.result, 0) << path;
        EXPECT_EQ(expanded.path, path);
    }
}

TEST(ExpandLongPath, SourceLongerThanTheBufferGivesTheSizeAndNothing) {
    ExpandResult expanded = Expand("C:\\windows", 10);
    EXPECT_EQ(expanded.result, 10);
    EXPECT_EQ(expanded.path, "");
}

TEST(ExpandLongPath, ExistingPathIsExpandedWholeFromADriveRoot) {
    char windows[MAX_PATH];
    ASSERT_NE(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    const std::string source = Lower(windows);
    ExpandResult expanded = Expand(source);
    EXPECT_EQ(Lower(expanded.path), source);
    EXPECT_EQ(expanded.result, static_cast<int>(source.size()));
}

namespace {

struct ReportBox {
    std::string title;
    std::string text;
    bool errorIcon = false;
};

BOOL CALLBACK FindVisibleDialog(HWND candidate, LPARAM out) {
    char className[32];
    GetClassNameA(candidate, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(candidate))
        return TRUE;
    *reinterpret_cast<HWND*>(out) = candidate;
    return FALSE;
}

// Calls ShowErrorReport on this thread while a second thread finds the box,
// reads it and presses OK.
ReportBox ShowAndReadReport(const char* format, const char* argument, DWORD error) {
    const DWORD uiThread = GetCurrentThreadId();
    ReportBox box;
    std::atomic<bool> found{false};
    std::thread reader([&] {
        HWND window = nullptr;
        WaitUntil([&] {
            EnumThreadWindows(uiThread, FindVisibleDialog, reinterpret_cast<LPARAM>(&window));
            return window != nullptr;
        });
        if (window == nullptr)
            return;
        char text[2048];
        GetWindowTextA(window, text, sizeof text);
        box.title = text;
        HICON errorIcon = LoadIconA(nullptr, IDI_ERROR);
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            GetClassNameA(child, text, sizeof text);
            if (lstrcmpiA(text, "Static") != 0)
                continue;
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                box.errorIcon =
                    reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == errorIcon;
            } else if (GetWindowTextA(child, text, sizeof text) > 0) {
                box.text = text;
            }
        }
        found = true;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
    });
    SetLastError(error);
    ShowErrorReport(nullptr, format, argument);
    reader.join();
    EXPECT_TRUE(found) << "no report box appeared";
    return box;
}

} // namespace

TEST(ShowErrorReport, ShowsTheFormatAndTheSystemTextOfTheLastError) {
    ScratchFolder scratch;
    const std::string missing = scratch.Path() + "\\missing.bin";
    HANDLE file = CreateFileA(missing.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(file, INVALID_HANDLE_VALUE);
    const DWORD error = GetLastError();
    ASSERT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    const std::string systemText = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(systemText.empty());

    ReportBox box = ShowAndReadReport(kHashFormat, missing.c_str(), error);
    EXPECT_EQ(box.title, "Error");
    EXPECT_TRUE(box.errorIcon);
    EXPECT_EQ(box.text, "Could not hash file: " + missing + "\n\n" + systemText);
}

TEST(ShowErrorReport, CodeWithoutSystemTextShowsItsNumber) {
    const DWORD unknown = 0x20001234; // a customer code: the system has no text for it
    ASSERT_TRUE(SystemText(unknown).empty());
    ReportBox box = ShowAndReadReport("Could not search directory: %s\n\n%s", "C:\\data", unknown);
    EXPECT_EQ(box.text, "Could not search directory: C:\\data\n\nError 536875572");
}
