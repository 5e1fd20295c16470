#pragma once

#include "frontend/plugin_base.h"
#include "host/dialog_service.h"
#include "host/plugin_base.h"
#include "module/implements.h"
#include "module/module_handle_provider.h"

#include <memory>

namespace Brennovar::Zintara {

/// The component's one service object: registers the module's resources and commands with the
/// host and runs the commands.
class AccessHandler
    : public Vorn::ImplementsImpl<PluginBase<AccessHandler>,
                                  Vorn::Directly<IActionHandler, IPlugDevice>, Vorn::Indirectly<>> {
public:
    static constexpr const char* kCategory = "Project";
    static constexpr const char* kDialogCommand = "Create Markers From Selected Events...";
    static constexpr const char* kCurrentSettingsCommand =
        "Create Markers From Selected Events with current Settings";
    static constexpr const char* kDeviceName = "Zintara";

    explicit AccessHandler(std::unique_ptr<IModuleHandleProvider> moduleHandleProvider);
    ~AccessHandler() override;

    // IPluginBase
    ResultCode onInitialize() noexcept override;
    ResultCode terminate() noexcept override;

    // IActionHandler
    ResultCode executeCommand(const char* category, const char* name,
                              bool checkOnly) noexcept override;

    // IPlugDevice: fixed answers; no argument is read.
    const char* getDeviceName() noexcept override { return kDeviceName; }
    void deviceOperation4() noexcept override {}
    void deviceOperation5() noexcept override {}
    void deviceOperation6() noexcept override {}
    ResultCode deviceOperation7() noexcept override { return ResultNotImplemented; }
    ResultCode deviceOperation8() noexcept override { return ResultNotImplemented; }
    int32 deviceOperation9() noexcept override { return 0; }
    int32 deviceOperation10() noexcept override { return 0; }
    bool deviceOperation11() noexcept override { return true; }
    bool deviceOperation12() noexcept override { return true; }

    /// The face handed to the command registry.
    FUnknown* objectFace() noexcept { return static_cast<IDependent*>(this); }

private:
    Owned<IDialogService> dialogService_;
    std::unique_ptr<IModuleHandleProvider> moduleHandleProvider_;
};

} // namespace Brennovar::Zintara
