// A stand-in uxtheme.dll planted outside the system folder. Its IsThemeActive
// answers a value the real one never gives, so a test sees which one was bound.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI IsThemeActive() {
    return 0x7A11;
}
