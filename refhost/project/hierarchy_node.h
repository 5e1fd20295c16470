#pragma once

#include "host/host_object.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

namespace Brennovar::RefHost {

class ProjectObject;

/// The place of one object in its project's hierarchy. The node of the root (the project's root
/// node) has no parent node and no object, and answers IHostContainer: it is the container that
/// top-level tracks are inserted into. The parent node follows the object's current holder, so
/// a node handed out for an object outside the project (parent null) becomes a proper place once
/// the object is inserted.
class HierarchyNode : public HostFaces<CountedObject, IHierarchyNode, IHostContainer> {
public:
    HierarchyNode(HostEnvironment& environment, ProjectObject& object)
        : HostFaces(environment), object_(object) {}

    /// The holder's node (the root node for a top-level track); null for the root node and for
    /// an object that is not held. Borrowed.
    IHierarchyNode* getParentNode() noexcept override;
    /// The object's IHostObject face, borrowed; null for the root node.
    IHostObject* getObject() noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    ProjectObject& object() const noexcept { return object_; }
    bool isRoot() const noexcept;
    IHierarchyNode* hierarchyNode() noexcept { return this; }
    IHostContainer* container() noexcept { return this; }

private:
    ProjectObject& object_;
};

} // namespace Brennovar::RefHost
