// The entry point: single instance, start-up order and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "system/AnsiPath.h"
#include "system/OptionalFunctions.h"
#include "system/Settings.h"
#include "jobs/CommandLine.h"
#include "jobs/JobRunner.h"
#include "ui/MainWindow.h"
#include "ui/ResourceModule.h"
#include "app/Startup.h"
#include "res/resource.h"

// The ANSI command line is not used: the system made it with best-fit mapping,
// which turns a name the code page cannot hold into some other file's name.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The field records start zeroed as process-wide values.
    ResourceModule.own = instance;
    ResourceModule.custom = nullptr;
    const std::string commandLine = OwnCommandLine();

    // Never closed: it marks the first instance until the process ends. A
    // failed creation leaves this one running as the first instance, and so
    // does a first instance that ends while this one waits for its window.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        const int handOff =
            HandOffToFirstInstance(instance, commandLine.c_str(), &mutex, kFirstInstanceWaitMs);
        if (handOff != kRunAsFirstInstance)
            return handOff;
    }

    InitCommonControls();
    ResolveOptionalFunctions();
    CreateJobEvents();
    // The workers wait for the run token, released once the window is shown.
    SplitCommandLine(commandLine.c_str());

    char customUi[MAX_PATH] = "";
    LoadSettings(customUi);
    if (customUi[0] != '\0')
        OpenResourceModule(customUi);

    HWND window = CreateModuleDialog(MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc);
    if (!window)
        return kExitNoWindow;
    HACCEL accelerators =
        AddLateAccelerators(LoadModuleAccelerators(MAKEINTRESOURCEA(IDR_ACCELERATORS)));
    if (!accelerators)
        return kExitNoWindow;

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    ReleaseRunToken();
    ReportOverlongSettings(window);
    if (commandLine.empty() && Settings.GetFileOnStart)
        PostMessageA(window, WM_COMMAND, IDC_OPEN, 0);

    RunMessageLoop(window, accelerators);

    CloseResourceModule();
    DestroyAcceleratorTable(accelerators);
    return kExitNormal;
}
