#pragma once

#include "host/module_handle.h"
#include "module/funknown.h"

namespace Brennovar {

class IPlugController;

/// Registers skins and runs dialogs rendered from them.
class IDialogService : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("6E44B1B2-7DA5-461E-AF02-BA736F97819A");
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    /// Finds the named skin container among the module's resources (names compare without
    /// regard to case) and registers it. ResultOk on success.
    virtual ResultCode registerSkin(ModuleHandle module, const char16_t* fileName) noexcept = 0;
    virtual ResultCode reserved6() noexcept { return ResultNotImplemented; }
    /// Runs the template as a modal dialog with the controller (borrowed; the host takes its own
    /// references). ResultOk when the user confirmed; any other value otherwise.
    virtual ResultCode runDialog(const char* templateName,
                                 IPlugController* controller) noexcept = 0;
    virtual ResultCode reserved8() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved9() noexcept { return ResultNotImplemented; }
    /// Builds the named template as a view with the controller; the view is the host's and is
    /// not released by the caller (null when it cannot be built).
    virtual FUnknown* buildTemplateView(const char* templateName,
                                        IPlugController* controller) noexcept = 0;
};

} // namespace Brennovar
