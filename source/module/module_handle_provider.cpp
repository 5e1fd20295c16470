#include "module/module_handle_provider.h"

#include "platform/module_handle.h"

namespace Brennovar {

ModuleHandle ModuleHandleProvider::getModuleHandle() const {
    return Platform::moduleHandle();
}

} // namespace Brennovar
