#include "refhost/services/project_access_service.h"

#include "refhost/core/host_environment.h"
#include "refhost/project/project.h"

namespace Brennovar::RefHost {

IHostProject* ProjectAccessService::getProject() noexcept {
    Project* project = environment().currentProject();
    return project ? project->hostProject() : nullptr;
}

ResultCode ProjectAccessService::addProjectListener(IProjectNotification2* listener) noexcept {
    return listeners_.add(listener);
}

ResultCode ProjectAccessService::removeProjectListener(IProjectNotification2* listener) noexcept {
    return listeners_.remove(listener);
}

FUnknown* ProjectAccessService::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == IProjectAccess::iid)
        return static_cast<IProjectAccess*>(this);
    return nullptr;
}

std::string ProjectAccessService::describe() const {
    return "service IProjectAccess";
}

void ProjectAccessService::notifyAttached(Project& project) {
    listeners_.notify([&project](IProjectNotification2* listener) {
        listener->projectAttached(project.hostProject());
        listener->projectRestored(project.hostObject());
    });
}

void ProjectAccessService::notifyDetached(Project& project) {
    listeners_.notify([&project](IProjectNotification2* listener) {
        listener->projectDetached(project.hostProject());
    });
}

std::size_t ProjectAccessService::releaseListeners() noexcept {
    return listeners_.releaseAll();
}

} // namespace Brennovar::RefHost
