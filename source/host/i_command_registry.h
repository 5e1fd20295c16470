#pragma once

#include "module/funknown.h"

namespace Brennovar {

class IActionHandler;

/// The host's command table.
class ICommandRegistry : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("A42A9119-161E-4547-98A2-6FB769140E24");
    /// Adds a command; the handler (the service object's FObject face) is borrowed and
    /// identifies the commands for removeCommands.
    virtual ResultCode addCommand(FUnknown* handler, const char* category, const char16_t* title,
                                  int32 flags, const char* displayCategory,
                                  const char* name) noexcept = 0;
    /// Removes every command that was added with this handler.
    virtual ResultCode removeCommands(FUnknown* handler) noexcept = 0;
};

/// The host's list of objects that run commands.
class IActionHandlerRegistry : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("762F3F61-11D1-4115-92F9-7AC6F239460F");
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    /// The host keeps its own reference until removeActionHandler.
    virtual ResultCode addActionHandler(IActionHandler* handler) noexcept = 0;
    virtual ResultCode removeActionHandler(IActionHandler* handler) noexcept = 0;
};

} // namespace Brennovar
