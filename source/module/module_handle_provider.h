#pragma once

#include "host/module_handle.h"

namespace Brennovar {

/// Gives the resource loaders the module's own handle. Not reference counted: one instance per
/// service object, which owns and deletes it.
class IModuleHandleProvider {
public:
    virtual ~IModuleHandleProvider() = default;
    virtual ModuleHandle getModuleHandle() const = 0;
};

/// Returns the handle recorded when the library was attached to the process.
class ModuleHandleProvider : public IModuleHandleProvider {
public:
    ModuleHandle getModuleHandle() const override;
};

} // namespace Brennovar
