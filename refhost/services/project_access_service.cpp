#include "refhost/services/project_access_service.h"

#include "refhost/core/host_environment.h"
#include "refhost/project/project.h"

#include <algorithm>

namespace Brennovar::RefHost {

IHostProject* ProjectAccessService::getProject() noexcept {
    Project* project = environment().currentProject();
    return project ? project->hostProject() : nullptr;
}

ResultCode ProjectAccessService::addProjectListener(IProjectNotification2* listener) noexcept {
    if (!listener)
        return ResultInvalidArgument;
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
        return ResultFalse;
    try {
        listeners_.push_back(listener);
    } catch (...) {
        return ResultFailed;
    }
    listener->addRef();
    return ResultOk;
}

ResultCode ProjectAccessService::removeProjectListener(IProjectNotification2* listener) noexcept {
    auto found = std::find(listeners_.begin(), listeners_.end(), listener);
    if (!listener || found == listeners_.end())
        return ResultFalse;
    listeners_.erase(found);
    listener->release();
    return ResultOk;
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
    // A listener may remove itself while it is told; each one told keeps a reference meanwhile.
    std::vector<IProjectNotification2*> listeners = listeners_;
    for (IProjectNotification2* listener : listeners) {
        listener->addRef();
        listener->projectAttached(project.hostProject());
        listener->projectRestored(project.hostObject());
        listener->release();
    }
}

void ProjectAccessService::notifyDetached(Project& project) {
    std::vector<IProjectNotification2*> listeners = listeners_;
    for (IProjectNotification2* listener : listeners) {
        listener->addRef();
        listener->projectDetached(project.hostProject());
        listener->release();
    }
}

std::size_t ProjectAccessService::releaseListeners() noexcept {
    std::vector<IProjectNotification2*> listeners;
    listeners.swap(listeners_);
    for (IProjectNotification2* listener : listeners)
        listener->release();
    return listeners.size();
}

} // namespace Brennovar::RefHost
