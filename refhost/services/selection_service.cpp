#include "refhost/services/selection_service.h"

#include "refhost/core/host_environment.h"
#include "refhost/project/hierarchy_node.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

namespace Brennovar::RefHost {

namespace {

Project* projectOf(HostEnvironment& environment, void* context) noexcept {
    Project* project = environment.currentProject();
    return project && context == project ? project : nullptr;
}

} // namespace

void* SelectionService::getContext() noexcept {
    return environment().currentProject();
}

ResultCode SelectionService::refresh(void* context, int32) noexcept {
    return projectOf(environment(), context) ? ResultOk : ResultInvalidArgument;
}

int32 SelectionService::getCount(void* context) noexcept {
    Project* project = projectOf(environment(), context);
    return project ? static_cast<int32>(project->selection().size()) : 0;
}

ResultCode SelectionService::getAt(void* context, int32 index, FUnknown** object,
                                   IHierarchyNode** node) noexcept {
    if (object)
        *object = nullptr;
    if (node)
        *node = nullptr;
    Project* project = projectOf(environment(), context);
    if (!object || !node || !project || index < 0)
        return ResultInvalidArgument;
    ProjectObject* selected = project->selection().at(static_cast<std::size_t>(index));
    if (!selected)
        return ResultInvalidArgument;
    try {
        *node = selected->node().hierarchyNode();
    } catch (...) {
        return ResultFailed;
    }
    *object = selected->hostObject();
    return ResultOk;
}

FUnknown* SelectionService::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == ISelectionService::iid)
        return static_cast<ISelectionService*>(this);
    return nullptr;
}

std::string SelectionService::describe() const {
    return "service ISelectionService";
}

} // namespace Brennovar::RefHost
