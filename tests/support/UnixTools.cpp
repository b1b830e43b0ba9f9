#include "tests/support/UnixTools.h"

#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <vector>

namespace {

// Listens for bells with Xlib's XKB calls through ctypes, so nothing needs
// building. Writes the running count to argv[1] (replaced whole on every
// change) and ends, removing it, when argv[2] exists or after ten minutes.
const char kBellListener[] = R"(import ctypes, os, select, sys, time
count_file, stop_file = sys.argv[1], sys.argv[2]
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
for name in ("XPending", "XConnectionNumber", "XFlush"):
    getattr(x, name).argtypes = [ctypes.c_void_p]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x.XkbQueryExtension.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_int)] * 5
x.XkbSelectEvents.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
XKB_USE_CORE_KBD, XKB_BELL_NOTIFY_MASK = 0x100, 1 << 8
display = x.XOpenDisplay(None)
opcode, event_base, error_base = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
major, minor = ctypes.c_int(1), ctypes.c_int(0)
if not display or not x.XkbQueryExtension(display, ctypes.byref(opcode), ctypes.byref(event_base),
                                          ctypes.byref(error_base), ctypes.byref(major),
                                          ctypes.byref(minor)):
    sys.exit(1)
x.XkbSelectEvents(display, XKB_USE_CORE_KBD, XKB_BELL_NOTIFY_MASK, XKB_BELL_NOTIFY_MASK)
x.XSync(display, 0)

def publish(count):
    with open(count_file + ".tmp", "w") as f:
        f.write(str(count))
    os.replace(count_file + ".tmp", count_file)

count, event, started = 0, ctypes.create_string_buffer(256), time.time()
publish(count)
while not os.path.exists(stop_file) and time.time() - started < 600:
    while x.XPending(display):
        x.XNextEvent(display, event)
        if ctypes.c_int.from_buffer(event).value == event_base.value:
            count += 1
            publish(count)
    select.select([x.XConnectionNumber(display)], [], [], 0.1)
os.remove(count_file)
)";

// Started and left to run: Wine hands out no handle of a Unix process.
bool StartUnix(const std::string& scriptPath) {
    // Wine splits the command line by the Windows rules: double quotes.
    std::string commandLine = "/bin/sh \"" + UnixPathOf(scriptPath) + "\"";
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA("Z:\\bin\\sh", writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    if (process.hProcess)
        CloseHandle(process.hProcess);
    if (process.hThread)
        CloseHandle(process.hThread);
    return true;
}

} // namespace

std::string UnixPathOf(const std::string& windowsPath) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<UnixName>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!toUnix)
        return std::string();
    wchar_t wide[MAX_PATH * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2))
        return std::string();
    char* unixName = toUnix(wide);
    if (!unixName)
        return std::string();
    std::string result = unixName;
    HeapFree(GetProcessHeap(), 0, unixName);
    return result;
}

int RunUnix(const std::string& command, std::string* output, DWORD timeoutMs) {
    std::string script = UniqueTempPath("calverin-unix", ".sh");
    std::string out = UniqueTempPath("calverin-unix", ".out");
    std::string done = UniqueTempPath("calverin-unix", ".done");
    WriteFileBytes(script, "( " + command + " ) >'" + UnixPathOf(out) + "' 2>&1\n" + "echo $? >'" +
                               UnixPathOf(done) + ".tmp'\n" + "mv '" + UnixPathOf(done) +
                               ".tmp' '" + UnixPathOf(done) + "'\n");
    int status = -1;
    if (StartUnix(script) &&
        WaitUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
                  timeoutMs)) {
        std::string text;
        if (ReadFileBytes(done, &text))
            status = std::atoi(text.c_str());
    }
    if (output && !ReadFileBytes(out, output))
        output->clear();
    DeleteFileA(script.c_str());
    DeleteFileA(out.c_str());
    DeleteFileA(done.c_str());
    return status;
}

bool Xdotool(const std::string& arguments) {
    return RunUnix("xdotool " + arguments) == 0;
}

void BellCounter::DeliverOwnBells() {
    // A read of the screen is a round trip on the drawing connection.
    HDC screen = GetDC(nullptr);
    GetPixel(screen, 0, 0);
    ReleaseDC(nullptr, screen);
}

BellCounter::BellCounter() {
    // Earlier bells of this process must not be counted.
    DeliverOwnBells();
    folder_ = UniqueTempPath("calverin-unix", ".bells");
    CreateDirectoryA(folder_.c_str(), nullptr);
    WriteFileBytes(folder_ + "\\listener.py", kBellListener);
    WriteFileBytes(folder_ + "\\run.sh", "exec python3 '" + UnixPathOf(folder_ + "\\listener.py") +
                                             "' '" + UnixPathOf(folder_ + "\\count") + "' '" +
                                             UnixPathOf(folder_ + "\\stop") + "'\n");
    StartUnix(folder_ + "\\run.sh");
}

BellCounter::~BellCounter() {
    WriteFileBytes(folder_ + "\\stop", "");
    WaitUntil([&] { return Count() < 0; }, 2000);
    for (const char* name : {"count", "count.tmp", "listener.py", "run.sh", "stop"})
        DeleteFileA((folder_ + "\\" + name).c_str());
    RemoveDirectoryA(folder_.c_str());
}

bool BellCounter::Ready(DWORD timeoutMs) const {
    return WaitUntil([&] { return Count() >= 0; }, timeoutMs);
}

int BellCounter::Count() const {
    std::string text;
    if (!ReadFileBytes(folder_ + "\\count", &text) || text.empty())
        return -1;
    return std::atoi(text.c_str());
}

bool BellCounter::WaitForCount(int count, DWORD timeoutMs) const {
    return WaitUntil(
        [&] {
            DeliverOwnBells();
            return Count() >= count;
        },
        timeoutMs);
}
