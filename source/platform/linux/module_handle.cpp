#include "platform/module_handle.h"

#include <dlfcn.h>

namespace Brennovar::Platform {

namespace {

ModuleHandle lookUpOwnHandle() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&lookUpOwnHandle), &info) == 0)
        return nullptr;
    return info.dli_fbase;
}

// Process attach: record the handle once, when the library is loaded.
const ModuleHandle recordedHandle = lookUpOwnHandle();

} // namespace

ModuleHandle moduleHandle() {
    return recordedHandle;
}

} // namespace Brennovar::Platform
