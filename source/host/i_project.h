#pragma once

#include "host/host_object.h"
#include "module/funknown.h"

namespace Brennovar {

class IProjectStorageNotification;
class IProjectNotification2;

/// A project of the host. It has no id: it is reached through IProjectAccess::getProject. It
/// also answers IHostObject (its name and stored attributes) and IProjectHierarchy.
class IHostProject : public FUnknown {
public:
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved5() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved6() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved7() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved8() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved9() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved10() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved11() noexcept { return ResultNotImplemented; }
    /// The active marker track with one reference for the caller, or null. When the project has
    /// no marker track the host may offer a new one that is not yet part of the project.
    virtual IHostTrack* getActiveMarkerTrack() noexcept = 0;
    virtual ResultCode reserved13() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved14() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved15() noexcept { return ResultNotImplemented; }
    /// The node of an object with one reference for the caller; null gives the root node.
    virtual IHierarchyNode* getNode(FUnknown* object) noexcept = 0;
    /// A new track of the named kind ("marker"), not yet part of the project; one reference for
    /// the caller.
    virtual FUnknown* createTrack(const char* typeName) noexcept = 0;
    virtual ResultCode reserved18() noexcept { return ResultNotImplemented; }
    virtual ResultCode addStorageNotification(IProjectStorageNotification* listener) noexcept = 0;
    virtual ResultCode
    removeStorageNotification(IProjectStorageNotification* listener) noexcept = 0;
};

/// The project's hierarchy: nodes of objects.
class IProjectHierarchy : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("5354D6AC-C0D4-4532-B1BD-A33E229B9F3D");
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved5() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved6() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved7() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved8() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved9() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved10() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved11() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved12() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved13() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved14() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved15() noexcept { return ResultNotImplemented; }
    /// The node of an object with one reference for the caller, or null.
    virtual IHierarchyNode* getNode(FUnknown* object) noexcept = 0;
};

/// The current project and the listeners to project events.
class IProjectAccess : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("3D7C2813-8ABF-4AAE-A23A-11BF37214C36");
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    /// Borrowed; null when no project is open.
    virtual IHostProject* getProject() noexcept = 0;
    /// The host keeps its own reference until removeProjectListener.
    virtual ResultCode addProjectListener(IProjectNotification2* listener) noexcept = 0;
    virtual ResultCode removeProjectListener(IProjectNotification2* listener) noexcept = 0;
};

/// Undoable edits of the current project.
class IProjectEdit : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("3F322518-90F4-462A-B9E9-535C454C265E");
    /// Opens an edit; everything changed until endEdit is one undo step.
    virtual ResultCode beginEdit(int32 flags) noexcept = 0;
    /// Closes the edit under the given undo name.
    virtual ResultCode endEdit(IHostProject* project, const char16_t* undoName) noexcept = 0;
    /// Inserts an object into the project below parent (a hierarchy node or a container). The
    /// host takes its own reference.
    virtual ResultCode insert(FUnknown* parent, FUnknown* object) noexcept = 0;
};

} // namespace Brennovar
