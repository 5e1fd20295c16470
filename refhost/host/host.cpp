#include "refhost/host/host.h"

#include "refhost/services/edit_service.h"
#include "refhost/services/media_service.h"
#include "refhost/services/object_provider.h"
#include "refhost/services/project_access_service.h"
#include "refhost/services/selection_service.h"

namespace Brennovar::RefHost {

Host::Host() {
    provider_ = &environment_.make<ObjectProvider>();
    translation_ = &environment_.make<TranslationService>();
    dialog_ = &environment_.make<DialogService>(*translation_);
    commands_ = &environment_.make<CommandService>();
    projectAccess_ = &environment_.make<ProjectAccessService>();
    selection_ = &environment_.make<SelectionService>();
    edit_ = &environment_.make<EditService>();
    media_ = &environment_.make<MediaService>();
    provider_->addService(IDialogService::iid, *dialog_);
    provider_->addService(ITranslationService::iid, *translation_);
    provider_->addService(ICommandRegistry::iid, *commands_);
    provider_->addService(IActionHandlerRegistry::iid, *commands_);
    provider_->addService(IProjectAccess::iid, *projectAccess_);
    provider_->addService(ISelectionService::iid, *selection_);
    provider_->addService(IProjectEdit::iid, *edit_);
    provider_->addService(IMediaAttributeService::iid, *media_);
}

Host::~Host() = default;

FUnknown* Host::context() noexcept {
    return provider_->context();
}

Project& Host::createProject(std::string_view name) {
    Project& project = environment_.make<Project>(name);
    projects_.push_back(&project);
    return project;
}

void Host::openProject(Project& project) {
    if (environment_.openProject() == &project)
        return;
    closeProject();
    environment_.setCurrentProject(&project);
    projectAccess_->notifyAttached(project);
}

bool Host::storeProject() {
    Project* project = environment_.openProject();
    if (!project)
        return false;
    project->notifyStoring();
    return true;
}

void Host::closeProject() {
    Project* project = environment_.openProject();
    if (!project)
        return;
    projectAccess_->notifyDetached(*project);
    while (project->history().editOpen())
        project->history().endEdit(u"");
    environment_.setCurrentProject(nullptr);
}

Project* Host::currentProject() const noexcept {
    return environment_.openProject();
}

const std::vector<Command>& Host::commands() const noexcept {
    return commands_->commands();
}

CommandRun Host::runCommand(std::string_view name, std::string_view category) {
    return commands_->run(name, category);
}

CommandRun Host::runCommand(std::string_view name, std::string_view category,
                            DialogService::DialogDriver driver) {
    const DialogService::DriverScope scope(*dialog_, std::move(driver));
    return commands_->run(name, category);
}

bool Host::undo() {
    Project* project = environment_.openProject();
    return project && project->history().undo();
}

bool Host::redo() {
    Project* project = environment_.openProject();
    return project && project->history().redo();
}

ProjectState Host::state(CaptureOptions options) const {
    Project* project = environment_.openProject();
    return project ? captureState(*project, options) : ProjectState{};
}

std::size_t Host::releaseClientObjects() noexcept {
    std::size_t released = projectAccess_->releaseListeners() + commands_->releaseHandlers();
    for (Project* project : projects_)
        released += project->releaseStorageListeners();
    return released;
}

} // namespace Brennovar::RefHost
