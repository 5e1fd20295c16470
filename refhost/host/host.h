#pragma once

#include "refhost/core/fault_plan.h"
#include "refhost/core/host_environment.h"
#include "refhost/core/reference_report.h"
#include "refhost/dialog/dialog_service.h"
#include "refhost/project/project.h"
#include "refhost/project/project_factory.h"
#include "refhost/project/project_state.h"
#include "refhost/services/command_service.h"
#include "refhost/services/translation_service.h"

#include <memory>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

class EditService;
class MediaService;
class ObjectProvider;
class ProjectAccessService;
class SelectionService;

/// The reference host: owns the projects, every host service and the object provider, and
/// gives a tool or a test what a workstation's user does: open and store projects, list and
/// run commands, undo and redo, look at the project, inject faults and audit references.
///
/// Typical use:
///   Host host;
///   Project& project = host.createProject("Song");
///   ... build it ...
///   loader.startService(host.context());   // the module's initialize
///   host.openProject(project);             // projectAttached + projectRestored
///   host.runCommand("Create Markers From Selected Events with current Settings");
///   host.undo();
///   host.storeProject();                   // projectStoring
///   host.closeProject();                   // projectDetached: the module unregisters
///   loader.unload();                       // terminate, release, ExitDll
///   host.references().clean();
///
/// Close the project before the module's service stops: a module's storage listener usually
/// lives inside its service object, and it leaves the project only when told projectDetached.
///
/// Everything runs on one thread. The host never calls into a client from its destructor: when
/// a module leaves listeners or handlers registered, call releaseClientObjects() while the
/// module and the objects it registered are still alive.
class Host : public ProjectFactory {
public:
    Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    ~Host();

    /// The context for a module's initialize: the object provider (IHostObjectProvider),
    /// borrowed.
    FUnknown* context() noexcept;

    // Projects.
    /// A new project, not yet open.
    Project& createProject(std::string_view name) override;
    /// Makes the project the current one (detaching the one open before, see closeProject) and
    /// tells every project listener: projectAttached, then projectRestored with the project's
    /// host object.
    void openProject(Project& project);
    /// The current project hears that it is being stored: projectStoring on each of its storage
    /// listeners. False when no project is open.
    bool storeProject();
    /// Tells every project listener projectDetached, closes an edit left open (keeping what it
    /// changed as an undo step) and leaves no project open. Nothing to do when none is open.
    void closeProject();
    /// The open project (the noProject fault does not hide it here); null when none.
    Project* currentProject() const noexcept;

    // Commands.
    const std::vector<Command>& commands() const noexcept;
    /// Runs a registered command by name (see CommandService::run).
    CommandRun runCommand(std::string_view name, std::string_view category = {});
    /// The same while `driver` works every dialog the command shows (null: none is worked, so
    /// each is cancelled); the driver is cleared however the run ends.
    CommandRun runCommand(std::string_view name, std::string_view category,
                          DialogService::DialogDriver driver);

    // Undo of the current project. False when there is nothing to undo or redo, an edit is
    // open, or no project is open.
    bool undo();
    bool redo();

    // Views.
    /// The current project as plain data; an empty state when none is open.
    ProjectState state(CaptureOptions options = {}) const;

    // Faults, references and services.
    FaultPlan& faults() noexcept { return environment_.faults(); }
    /// Every reference clients still hold or released too often, at this moment.
    ReferenceReport references() const { return environment_.references(); }
    /// Releases every reference the host keeps to client objects (project listeners, action
    /// handlers, storage listeners) and forgets them; returns how many were released. What a
    /// client registered and did not remove is a leak on its side; this lets the host give its
    /// references back before the client is unloaded.
    std::size_t releaseClientObjects() noexcept;

    HostEnvironment& environment() noexcept { return environment_; }
    ObjectProvider& provider() noexcept { return *provider_; }
    ProjectAccessService& projectAccess() noexcept { return *projectAccess_; }
    SelectionService& selectionService() noexcept { return *selection_; }
    MediaService& mediaService() noexcept { return *media_; }
    CommandService& commandService() noexcept { return *commands_; }
    TranslationService& translationService() noexcept { return *translation_; }
    DialogService& dialogService() noexcept { return *dialog_; }

private:
    HostEnvironment environment_;
    std::vector<Project*> projects_;
    ObjectProvider* provider_ = nullptr;
    ProjectAccessService* projectAccess_ = nullptr;
    SelectionService* selection_ = nullptr;
    EditService* edit_ = nullptr;
    MediaService* media_ = nullptr;
    CommandService* commands_ = nullptr;
    TranslationService* translation_ = nullptr;
    DialogService* dialog_ = nullptr;
};

} // namespace Brennovar::RefHost
