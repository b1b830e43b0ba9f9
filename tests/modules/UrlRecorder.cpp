// A stand-in web browser for the About dialog's tests: appends the address it
// was started with, one line per start, to the file named by CALVERIN_URL_LOG.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char logPath[MAX_PATH];
    if (!GetEnvironmentVariableA("CALVERIN_URL_LOG", logPath, MAX_PATH))
        return 1;
    // The command line is the quoted address.
    const char* address = commandLine;
    while (*address == ' ' || *address == '"')
        ++address;
    int length = lstrlenA(address);
    while (length > 0 && (address[length - 1] == '"' || address[length - 1] == ' '))
        --length;
    HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(log, address, (DWORD)length, &written, nullptr);
    WriteFile(log, "\n", 1, &written, nullptr);
    CloseHandle(log);
    return 0;
}
