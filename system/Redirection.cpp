#include "system/Redirection.h"

#include "system/OptionalFunctions.h"

RedirectionOff::RedirectionOff() {
    BOOL wow64 = FALSE;
    off_ = OptIsWow64Process(GetCurrentProcess(), &wow64) && wow64 &&
           OptWow64DisableWow64FsRedirection(&saved_);
}

RedirectionOff::~RedirectionOff() {
    if (!off_)
        return;
    DWORD error = GetLastError();
    OptWow64RevertWow64FsRedirection(saved_);
    SetLastError(error);
}
