#include "platform/module_handle.h"

#include <windows.h>

namespace Brennovar::Platform {

namespace {

HMODULE recordedHandle = nullptr;

} // namespace

ModuleHandle moduleHandle() {
    return recordedHandle;
}

} // namespace Brennovar::Platform

// Process attach: Windows hands the library its own handle. Every reason code succeeds; only
// the attach does something. In a program (no DllMain call) the handle stays null, which stands
// for the program itself.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        Brennovar::Platform::recordedHandle = instance;
    return TRUE;
}
