#include "refhost/project/project_object.h"

#include "host/i_project.h"
#include "refhost/core/text_conversion.h"
#include "refhost/project/hierarchy_node.h"
#include "refhost/project/project.h"

#include <algorithm>
#include <cmath>

namespace Brennovar::RefHost {

const std::vector<ProjectObject*> ProjectObject::kNoChildren;

ProjectObject::ProjectObject(HostEnvironment& environment, Project& project, ObjectKind kind,
                             std::u16string name)
    : HostFaces(environment), project_(project), kind_(kind), name_(std::move(name)) {}

bool ProjectObject::isType(const char* typeName) noexcept {
    return typeName && answersType(kind_, typeName);
}

ResultCode ProjectObject::setAttribute(const char* key, const FTaggedValue& value, bool) noexcept {
    if (!key || !AttributeStore::storable(value))
        return ResultInvalidArgument;
    try {
        // Attributes are the project's stored data (clients write them when the project is
        // saved): undoable inside an edit only. Recorded while the value before is still there.
        project_.history().record(
            UndoHistory::AttributeChange{this, key, attributes_.find(key), &value},
            u"Set Attribute", false);
        attributes_.set(key, value);
        return ResultOk;
    } catch (...) {
        return ResultFailed;
    }
}

ResultCode ProjectObject::getAttribute(const char* key, FTaggedValue& value) noexcept {
    if (!key)
        return ResultInvalidArgument;
    const FTaggedValue* stored = attributes_.find(key);
    if (!stored)
        return ResultFalse;
    value.copyFrom(*stored);
    return ResultOk;
}

const char16_t* ProjectObject::getName() noexcept {
    return name_.c_str();
}

ResultCode ProjectObject::setName(IHierarchyNode*, const char16_t* name, IProjectEdit*) noexcept {
    if (!name)
        return ResultInvalidArgument;
    try {
        return rename(name);
    } catch (...) {
        return ResultFailed;
    }
}

ResultCode ProjectObject::setSelected(IHierarchyNode*, bool selected) noexcept {
    if (kind_ == ObjectKind::kRoot)
        return ResultFalse;
    try {
        if (!selected) {
            project_.selection().remove(*this);
            return ResultOk;
        }
        if (!isAttached())
            return ResultFalse;
        project_.selection().add(*this);
        return ResultOk;
    } catch (...) {
        return ResultFailed;
    }
}

double ProjectObject::getStart(IHierarchyNode*) noexcept {
    return start_;
}

ResultCode ProjectObject::setStart(IHierarchyNode*, double start, IProjectEdit*) noexcept {
    if (!std::isfinite(start))
        return ResultInvalidArgument;
    try {
        return moveTo(start);
    } catch (...) {
        return ResultFailed;
    }
}

ResultCode ProjectObject::setLength(IHierarchyNode*, double length, IProjectEdit*) noexcept {
    if (!std::isfinite(length) || length < 0.0)
        return ResultInvalidArgument;
    try {
        return resize(length);
    } catch (...) {
        return ResultFailed;
    }
}

double ProjectObject::getEnd(IHierarchyNode*) noexcept {
    return end();
}

FUnknown* ProjectObject::getParent() noexcept {
    if (!parent_)
        return nullptr;
    if (parent_->kind_ == ObjectKind::kRoot) {
        try {
            return project_.rootNode().container();
        } catch (...) {
            return nullptr;
        }
    }
    return parent_->hostObject();
}

FUnknown* ProjectObject::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == IHostObject::iid)
        return hostObject();
    if (id == IHostTrack::iid && isTrack(kind_))
        return hostObject();
    if (id == IHostContainer::iid && kind_ == ObjectKind::kFolderTrack)
        return static_cast<IHostContainer*>(this);
    if (id == IProjectHierarchy::iid && kind_ == ObjectKind::kRoot)
        return project_.face(id);
    return nullptr;
}

std::string ProjectObject::describe() const {
    return std::string(kindName(kind_)) + " '" + nameUtf8() + "'";
}

std::string ProjectObject::nameUtf8() const {
    return utf8(name_);
}

bool ProjectObject::isAttached() const noexcept {
    const ProjectObject* top = this;
    while (top->parent_)
        top = top->parent_;
    return top == &project_.root();
}

HierarchyNode& ProjectObject::node() {
    if (!node_)
        node_ = &environment().make<HierarchyNode>(*this);
    return *node_;
}

ResultCode ProjectObject::rename(std::u16string name) {
    // Recorded while the name before is still there.
    project_.history().record(UndoHistory::NameChange{this, name_, name}, u"Rename", isAttached());
    name_ = std::move(name);
    return ResultOk;
}

ResultCode ProjectObject::moveTo(double start) {
    UndoHistory::StartChange change{this, start_, start};
    assignStart(start);
    project_.history().record(change, u"Move", isAttached());
    return ResultOk;
}

ResultCode ProjectObject::resize(double length) {
    UndoHistory::LengthChange change{this, length_, length};
    assignLength(length);
    project_.history().record(change, u"Resize", isAttached());
    return ResultOk;
}

void ProjectObject::assignAttribute(const std::string& key, const FTaggedValue* value) {
    if (value)
        attributes_.set(key, *value);
    else
        attributes_.erase(key);
}

void ProjectObject::attachChild(ProjectObject& child, std::size_t index) {
    if (!children_)
        children_ = std::make_unique<std::vector<ProjectObject*>>();
    index = std::min(index, children_->size());
    children_->insert(children_->begin() + static_cast<std::ptrdiff_t>(index), &child);
    child.parent_ = this;
    renumberChildren(index);
}

void ProjectObject::renumberChildren(std::size_t first) noexcept {
    const std::vector<ProjectObject*>& held = children();
    for (std::size_t i = first; i < held.size(); ++i)
        held[i]->place_ = static_cast<std::uint32_t>(i);
}

std::size_t ProjectObject::detach() {
    if (!parent_)
        return 0;
    const std::size_t index = place_;
    parent_->children_->erase(parent_->children_->begin() + static_cast<std::ptrdiff_t>(index));
    parent_->renumberChildren(index);
    parent_ = nullptr;
    place_ = 0;
    deselectTree();
    return index;
}

void ProjectObject::deselectTree() {
    if (selected_)
        project_.selection().remove(*this);
    for (ProjectObject* child : children())
        child->deselectTree();
}

} // namespace Brennovar::RefHost
