#pragma once

#include "host/i_project.h"
#include "host/project_notifications.h"
#include "refhost/core/client_list.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

namespace Brennovar::RefHost {

class Project;

/// IProjectAccess: the current project and the clients that listen to project events.
class ProjectAccessService : public HostFaces<CountedObject, IProjectAccess> {
public:
    explicit ProjectAccessService(HostEnvironment& environment) : HostFaces(environment) {}

    /// Borrowed; null when no project is open (or under the noProject fault).
    IHostProject* getProject() noexcept override;
    /// The host keeps a reference until removeProjectListener. ResultInvalidArgument for null,
    /// ResultFalse when already registered.
    ResultCode addProjectListener(IProjectNotification2* listener) noexcept override;
    /// Releases the host's reference. ResultFalse when not registered.
    ResultCode removeProjectListener(IProjectNotification2* listener) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    std::size_t listenerCount() const noexcept { return listeners_.size(); }
    /// For each listener in registration order: projectAttached with the project, then
    /// projectRestored with the project's host object.
    void notifyAttached(Project& project);
    /// projectDetached with the project, for each listener.
    void notifyDetached(Project& project);
    /// Releases the host's references to the listeners and forgets them; returns how many there
    /// were. Call it while their module is still loaded.
    std::size_t releaseListeners() noexcept;

private:
    ClientList<IProjectNotification2> listeners_;
};

} // namespace Brennovar::RefHost
