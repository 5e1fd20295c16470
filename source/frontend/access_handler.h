#pragma once

#include "frontend/notification_manager.h"
#include "frontend/plugin_base.h"
#include "host/i_dialog_service.h"
#include "host/plugin_base.h"
#include "model/model.h"
#include "module/implements.h"
#include "module/module_handle_provider.h"
#include "module/module_names.h"

#include <memory>

namespace Brennovar::Zintara {

/// The component's one service object: registers the module's skin and translations with the
/// host, adds the two marker commands and runs them, and lets the settings travel with each
/// project through the project notifications.
class AccessHandler
    : public Vorn::ImplementsImpl<PluginBase<AccessHandler>,
                                  Vorn::Directly<IActionHandler, IPlugDevice>, Vorn::Indirectly<>> {
public:
    static constexpr const char* kCategory = Names::kCommandCategory;
    static constexpr const char* kDialogCommand = Names::kDialogCommand;
    static constexpr const char* kCurrentSettingsCommand = Names::kCurrentSettingsCommand;
    static constexpr int32 kCommandFlags = 2;
    static constexpr const char* kDeviceName = "Zintara";
    static constexpr const char* kDialogTemplate = Names::kDialogTemplate;

    explicit AccessHandler(std::unique_ptr<IModuleHandleProvider> moduleHandleProvider);
    ~AccessHandler() override;

    // IPluginBase
    /// Registers skin, translations, commands, action handler and project listener, in this
    /// order; stops with ResultFalse when the skin or the translations cannot be registered.
    ResultCode onInitialize() noexcept override;
    /// Removes what onInitialize added. Safe after a failed or missing initialize.
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

    /// The face that identifies the handler's commands in the host's command registry.
    FUnknown* objectFace() noexcept { return static_cast<IDependent*>(this); }

    Model& settings() noexcept { return settings_; }

private:
    using NotificationListener = Core::ITChangeListener<NotificationEvent>;

    void addCommands() noexcept;
    void subscribeToProjectEvents() noexcept;
    void onNotification(const NotificationEvent& event) noexcept;
    /// Lets the user edit the settings; true when the dialog was confirmed.
    bool openDialog() noexcept;
    ResultCode createMarkers() noexcept;

    // Members are destroyed in reverse order: settings, listener, notification manager, module
    // handle provider, dialog service.
    Owned<IDialogService> dialogService_;
    std::unique_ptr<IModuleHandleProvider> moduleHandleProvider_;
    NotificationManager notificationManager_;
    Owned<NotificationListener> notificationListener_;
    Model settings_;
};

} // namespace Brennovar::Zintara
