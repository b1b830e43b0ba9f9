// The entry point: single instance, start-up order and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "system/OptionalFunctions.h"
#include "system/Settings.h"
#include "jobs/CommandLine.h"
#include "jobs/JobRunner.h"
#include "ui/MainWindow.h"
#include "ui/ResourceModule.h"
#include "app/Startup.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // The field records start zeroed as process-wide values.
    ResourceModule.own = instance;
    ResourceModule.custom = nullptr;

    // Never closed: it marks the first instance until the process ends. A
    // failed creation leaves this one running as the first instance.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS)
        return HandOffToFirstInstance(instance, commandLine);

    InitCommonControls();
    ResolveOptionalFunctions();
    CreateJobEvents();
    // The workers wait for the run token, released once the window is shown.
    SplitCommandLine(commandLine);

    char customUi[MAX_PATH] = "";
    LoadSettings(customUi);
    if (customUi[0] != '\0')
        OpenResourceModule(customUi);

    HWND window = CreateModuleDialog(MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc);
    if (!window)
        return kExitNoWindow;
    HACCEL accelerators = LoadModuleAccelerators(MAKEINTRESOURCEA(IDR_ACCELERATORS));
    if (!accelerators)
        return kExitNoWindow;

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    ReleaseRunToken();
    if (commandLine[0] == '\0' && Settings.GetFileOnStart)
        PostMessageA(window, WM_COMMAND, IDC_OPEN, 0);

    RunMessageLoop(window, accelerators);

    CloseResourceModule();
    DestroyAcceleratorTable(accelerators);
    return kExitNormal;
}
