#include "refhost/services/object_provider.h"

#include "refhost/core/host_environment.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

namespace Brennovar::RefHost {

ResultCode ObjectProvider::getObject(const Guid& id, void** obj) noexcept {
    if (!obj)
        return ResultInvalidArgument;
    *obj = nullptr;
    ++calls_;
    FaultPlan& faults = environment().faults();
    if (faults.failGetObjectAfter > 0 && --faults.failGetObjectAfter == 0)
        return ResultFailed;
    if (FaultPlan::contains(faults.missingServices, id))
        return ResultNoInterface;
    for (const Service& service : services_)
        if (service.id == id)
            return service.object->query(id, obj);
    if (id == HostClass::kPositionMarker || id == HostClass::kCycleMarker) {
        if (FaultPlan::contains(faults.refusedClasses, id))
            return ResultNoInterface;
        return newMarker(id, obj);
    }
    return ResultNoInterface;
}

ResultCode ObjectProvider::newMarker(const Guid& classId, void** obj) {
    Project* project = environment().currentProject();
    if (!project)
        return ResultFailed;
    try {
        ObjectKind kind = classId == HostClass::kPositionMarker ? ObjectKind::kPositionMarker
                                                                : ObjectKind::kCycleMarker;
        ProjectObject& marker = project->createDetached(kind, {});
        *obj = handOut(static_cast<FUnknown*>(marker.hostObject()));
        return ResultOk;
    } catch (...) {
        return ResultFailed;
    }
}

FUnknown* ObjectProvider::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == IHostObjectProvider::iid)
        return context();
    return nullptr;
}

std::string ObjectProvider::describe() const {
    return "host object provider";
}

void ObjectProvider::addService(const Guid& id, CountedObject& service) {
    services_.push_back({id, &service});
}

} // namespace Brennovar::RefHost
