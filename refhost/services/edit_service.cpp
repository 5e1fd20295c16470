#include "refhost/services/edit_service.h"

#include "refhost/core/host_environment.h"
#include "refhost/project/hierarchy_node.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

namespace Brennovar::RefHost {

namespace {

/// The project object a client names as a parent: a node stands for its object (the root
/// node for the root), a project for its root.
ProjectObject* parentObject(HostEnvironment& environment, FUnknown* parent) noexcept {
    CountedObject* owner = environment.resolve(parent);
    if (auto* node = dynamic_cast<HierarchyNode*>(owner))
        return &node->object();
    if (auto* project = dynamic_cast<Project*>(owner))
        return &project->root();
    return dynamic_cast<ProjectObject*>(owner);
}

bool isWithin(const ProjectObject& object, const ProjectObject& ancestor) noexcept {
    for (const ProjectObject* p = &object; p; p = p->parent())
        if (p == &ancestor)
            return true;
    return false;
}

} // namespace

ResultCode EditService::beginEdit(int32 flags) noexcept {
    Project* project = environment().currentProject();
    if (!project)
        return ResultFalse;
    project->history().beginEdit(flags);
    return ResultOk;
}

ResultCode EditService::endEdit(IHostProject* project, const char16_t* undoName) noexcept {
    Project* current = environment().currentProject();
    if (!current || !current->history().editOpen())
        return ResultFalse;
    if (project && project != current->hostProject())
        return ResultInvalidArgument;
    try {
        current->history().endEdit(undoName ? undoName : u"");
        return ResultOk;
    } catch (...) {
        return ResultFailed;
    }
}

ResultCode EditService::insert(FUnknown* parent, FUnknown* object) noexcept {
    Project* project = environment().currentProject();
    ProjectObject* holder = parentObject(environment(), parent);
    auto* inserted = environment().resolveAs<ProjectObject>(object);
    if (!project || !holder || !inserted || &holder->project() != project ||
        &inserted->project() != project || inserted->parent() ||
        inserted->kind() == ObjectKind::kRoot || !canHold(holder->kind(), inserted->kind()) ||
        isWithin(*holder, *inserted))
        return ResultInvalidArgument;
    try {
        std::size_t index = holder->children().size();
        holder->attachChild(*inserted, index);
        project->history().record(UndoHistory::Insertion{holder, inserted, index}, u"Insert",
                                  inserted->isAttached());
        return ResultOk;
    } catch (...) {
        return ResultFailed;
    }
}

FUnknown* EditService::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == IProjectEdit::iid)
        return static_cast<IProjectEdit*>(this);
    return nullptr;
}

std::string EditService::describe() const {
    return "service IProjectEdit";
}

} // namespace Brennovar::RefHost
