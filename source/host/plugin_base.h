#pragma once

#include "module/funknown.h"

namespace Brennovar {

/// The service object's life with the host: initialize after creation, terminate before the
/// last release.
class IPluginBase : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("22888DDB-156E-45AE-8358-B34808190625");
    /// The context answers IHostObjectProvider.
    virtual ResultCode initialize(FUnknown* context) noexcept = 0;
    virtual ResultCode terminate() noexcept = 0;
};

/// Runs the commands that the component added to the host's command registry.
class IActionHandler : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("9FC17BEB-3A51-4077-A25A-7726D3D3D711");
    /// With checkOnly true, only answers whether the command can run now.
    virtual ResultCode executeCommand(const char* category, const char* name,
                                      bool checkOnly) noexcept = 0;
};

/// The service object presented as a device with a name. The host's arguments to slots 4 to 12
/// are not read by the component, so the operations take none (safe under the calling
/// convention: the caller cleans up).
class IPlugDevice : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("6548D671-997A-4EA5-9B33-6A6FB3E93B50");
    /// A static text; not owned by the caller.
    virtual const char* getDeviceName() noexcept = 0;
    virtual void deviceOperation4() noexcept = 0;
    virtual void deviceOperation5() noexcept = 0;
    virtual void deviceOperation6() noexcept = 0;
    virtual ResultCode deviceOperation7() noexcept = 0;
    virtual ResultCode deviceOperation8() noexcept = 0;
    virtual int32 deviceOperation9() noexcept = 0;
    virtual int32 deviceOperation10() noexcept = 0;
    virtual bool deviceOperation11() noexcept = 0;
    virtual bool deviceOperation12() noexcept = 0;
};

} // namespace Brennovar
