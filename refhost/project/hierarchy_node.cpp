#include "refhost/project/hierarchy_node.h"

#include "refhost/project/project_object.h"

namespace Brennovar::RefHost {

IHierarchyNode* HierarchyNode::getParentNode() noexcept {
    ProjectObject* holder = object_.parent();
    if (isRoot() || !holder)
        return nullptr;
    try {
        return holder->node().hierarchyNode();
    } catch (...) {
        return nullptr;
    }
}

IHostObject* HierarchyNode::getObject() noexcept {
    return isRoot() ? nullptr : object_.hostObject();
}

FUnknown* HierarchyNode::face(const Guid& id) noexcept {
    if (id == FUnknown::iid)
        return hierarchyNode();
    if (id == IHostContainer::iid && isRoot())
        return container();
    return nullptr;
}

std::string HierarchyNode::describe() const {
    return isRoot() ? "root node of " + object_.describe() : "node of " + object_.describe();
}

bool HierarchyNode::isRoot() const noexcept {
    return object_.kind() == ObjectKind::kRoot;
}

} // namespace Brennovar::RefHost
