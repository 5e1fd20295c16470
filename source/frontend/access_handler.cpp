#include "frontend/access_handler.h"

#include "dialog/dialog_controller.h"
#include "engine/marker_creator.h"
#include "host/i_command_registry.h"
#include "host/i_project.h"
#include "host/i_translation_service.h"
#include "localization/localized_string.h"
#include "module/host_context.h"

#include <cstring>

namespace Brennovar::Zintara {

namespace {

LocalizedString dialogCommandTitle(u"Create Markers from Selected Events...");
LocalizedString
    currentSettingsCommandTitle(u"Create Markers from Selected Events (with Current Settings)");

bool equals(const char* text, const char* expected) {
    return text && std::strcmp(text, expected) == 0;
}

} // namespace

AccessHandler::AccessHandler(std::unique_ptr<IModuleHandleProvider> moduleHandleProvider)
    : moduleHandleProvider_(std::move(moduleHandleProvider)) {}

AccessHandler::~AccessHandler() {
    // The listener holds a pointer back to this handler: it must not outlive the subscription.
    notificationManager_.removeListener(notificationListener_.get());
}

ResultCode AccessHandler::onInitialize() noexcept {
    dialogService_ = hostService<IDialogService>();
    if (!dialogService_)
        return ResultFalse;
    ModuleHandle module = moduleHandleProvider_->getModuleHandle();
    if (dialogService_->registerSkin(module, Names::kSkinResource16) != ResultOk)
        return ResultFalse;

    Owned<ITranslationService> translations = hostService<ITranslationService>();
    if (!translations ||
        translations->loadTranslations(module, Names::kTranslationResource16, nullptr) == 1)
        return ResultFalse;

    addCommands();
    Owned<IActionHandlerRegistry> handlers = hostService<IActionHandlerRegistry>();
    if (handlers)
        handlers->addActionHandler(this);
    Owned<IProjectAccess> projects = hostService<IProjectAccess>();
    if (projects)
        projects->addProjectListener(notificationManager_.projectFace());
    subscribeToProjectEvents();
    return ResultOk;
}

void AccessHandler::addCommands() noexcept {
    Owned<ICommandRegistry> commands = hostService<ICommandRegistry>();
    if (!commands)
        return;
    Owned<ITranslationService> translations = hostService<ITranslationService>();
    if (!translations)
        return;
    struct Command {
        LocalizedString& title;
        const char* name;
    };
    for (const Command& command : {Command{dialogCommandTitle, kDialogCommand},
                                   Command{currentSettingsCommandTitle, kCurrentSettingsCommand}}) {
        const char16_t* localized = command.title.lookup();
        const char16_t* title = translations->translate(localized);
        commands->addCommand(objectFace(), kCategory, title ? title : localized, kCommandFlags,
                             kCategory, command.name);
    }
}

void AccessHandler::subscribeToProjectEvents() noexcept {
    // A listener from an earlier initialize leaves the manager before it is released, so the
    // manager never calls a listener that is gone.
    notificationManager_.removeListener(notificationListener_.get());
    notificationListener_.reset(Core::makeChangeListener<NotificationEvent>(
        [this](const NotificationEvent& event) { onNotification(event); }));
    notificationManager_.addListener(notificationListener_.get());
}

void AccessHandler::onNotification(const NotificationEvent& event) noexcept {
    if (event.kind == NotificationEvent::kStore)
        settings_.store(event.object);
    else if (event.kind == NotificationEvent::kRestore)
        settings_.restore(event.object);
}

ResultCode AccessHandler::terminate() noexcept {
    if (Owned<ICommandRegistry> commands = hostService<ICommandRegistry>())
        commands->removeCommands(objectFace());
    if (Owned<IActionHandlerRegistry> handlers = hostService<IActionHandlerRegistry>())
        handlers->removeActionHandler(this);
    if (Owned<IProjectAccess> projects = hostService<IProjectAccess>()) {
        // The storage notification lives inside this object: a project that stays open after
        // the module is gone must not keep calling it.
        notificationManager_.projectDetached(projects->getProject());
        projects->removeProjectListener(notificationManager_.projectFace());
    }
    notificationManager_.removeListener(notificationListener_.get());
    return ResultOk;
}

ResultCode AccessHandler::executeCommand(const char* category, const char* name,
                                         bool checkOnly) noexcept {
    if (!equals(category, kCategory))
        return ResultFalse;
    bool dialog = equals(name, kDialogCommand);
    if (!dialog && !equals(name, kCurrentSettingsCommand))
        return ResultFalse;
    if (!MarkerCreator(settings_).hasSelectedEvents())
        return ResultFalse;
    if (checkOnly)
        return ResultOk;
    if (dialog && !openDialog())
        return ResultFalse;
    return createMarkers();
}

bool AccessHandler::openDialog() noexcept {
    if (!dialogService_)
        return false;
    try {
        // The dialog edits the live settings; the backup (a deep copy without listeners) is
        // what a dialog that is not confirmed leaves behind.
        Model backup = settings_;
        Owned<DialogController> controller(new DialogController(settings_, dialogService_.get()));
        const ResultCode result =
            dialogService_->runDialog(kDialogTemplate, controller->controllerFace());
        controller.reset();
        if (result != ResultOk) {
            settings_ = std::move(backup);
            return false;
        }
        return true;
    } catch (...) {
        return false;
    }
}

ResultCode AccessHandler::createMarkers() noexcept {
    MarkerCreator creator(settings_);
    return creator.run();
}

} // namespace Brennovar::Zintara
