#include "refhost/services/object_provider.h"

#include "refhost/controls/host_menu_item.h"
#include "refhost/controls/host_parameter.h"
#include "refhost/controls/host_sub_menu.h"
#include "refhost/core/host_environment.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

namespace Brennovar::RefHost {

namespace {

struct ParameterClass {
    Guid id;
    ParameterKind kind;
};

constexpr ParameterClass kParameterClasses[] = {
    {HostClass::kToggleParameter, ParameterKind::kToggle},
    {HostClass::kIntegerParameter, ParameterKind::kInteger},
    {HostClass::kTextParameter, ParameterKind::kText},
    {HostClass::kStringListParameter, ParameterKind::kStringList},
    {HostClass::kMenuParameter, ParameterKind::kMenu},
};

} // namespace

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
    if (FaultPlan::contains(faults.refusedClasses, id))
        return ResultNoInterface;
    if (id == HostClass::kPositionMarker || id == HostClass::kCycleMarker)
        return newMarker(id, obj);
    return newDialogObject(id, obj);
}

ResultCode ObjectProvider::newDialogObject(const Guid& id, void** obj) {
    try {
        // Menu items first: a dialog asks for many more of them than for anything else.
        if (id == IMenuItem::iid) {
            *obj = handOut(static_cast<IMenuItem*>(&environment().makeReleasable<HostMenuItem>()));
            return ResultOk;
        }
        for (const ParameterClass& parameterClass : kParameterClasses)
            if (parameterClass.id == id) {
                auto& parameter = environment().makeReleasable<HostParameter>(parameterClass.kind);
                *obj = handOut(static_cast<FUnknown*>(static_cast<IHostParameter*>(&parameter)));
                return ResultOk;
            }
        if (id == ISubMenu::iid) {
            *obj = handOut(static_cast<ISubMenu*>(&environment().makeReleasable<HostSubMenu>()));
            return ResultOk;
        }
        return ResultNoInterface;
    } catch (...) {
        return ResultFailed;
    }
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
