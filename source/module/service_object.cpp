#include "module/service_object.h"

#include "frontend/access_handler.h"
#include "module/module_handle_provider.h"

#include <memory>
#include <new>

namespace Brennovar {

FUnknown* createServiceObject(void*) {
    auto* handler =
        new (std::nothrow) Zintara::AccessHandler(std::make_unique<ModuleHandleProvider>());
    if (!handler)
        return nullptr;
    return static_cast<IPluginBase*>(handler);
}

} // namespace Brennovar
