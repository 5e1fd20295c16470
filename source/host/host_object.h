#pragma once

#include "module/funknown.h"
#include "module/tagged_value.h"

namespace Brennovar {

class IProjectEdit;
class IHierarchyNode;

/// An object of the host's project: track, event, part, marker and so on.
/// Texts returned by the object stay owned by it and are valid until it changes.
/// Positions are the host's timeline unit (seconds in the reference host).
class IHostObject : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("7A6F999F-BDBC-4BCC-AC40-3DABACE8A171");
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    /// Whether the object is of the named kind ("track", "audio", "marker", ...).
    virtual bool isType(const char* typeName) noexcept = 0;
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved5() noexcept { return ResultNotImplemented; }
    /// Stores an owned copy of the value under the key (the last argument is always true).
    virtual ResultCode setAttribute(const char* key, const FTaggedValue& value,
                                    bool flag) noexcept = 0;
    /// Fills value with an owned copy (the caller releases it); ResultOk when the key exists.
    virtual ResultCode getAttribute(const char* key, FTaggedValue& value) noexcept = 0;
    virtual ResultCode reserved8() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved9() noexcept { return ResultNotImplemented; }
    /// The object's name; never null.
    virtual const char16_t* getName() noexcept = 0;
    /// Renames the object in the given node, as part of the edit (may be null).
    virtual ResultCode setName(IHierarchyNode* node, const char16_t* name,
                               IProjectEdit* edit) noexcept = 0;
    virtual ResultCode reserved12() noexcept { return ResultNotImplemented; }
    virtual ResultCode setSelected(IHierarchyNode* node, bool selected) noexcept = 0;
    virtual ResultCode reserved14() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved15() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved16() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved17() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved18() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved19() noexcept { return ResultNotImplemented; }
    virtual double getStart(IHierarchyNode* node) noexcept = 0;
    virtual ResultCode setStart(IHierarchyNode* node, double start,
                                IProjectEdit* edit) noexcept = 0;
    virtual ResultCode reserved22() noexcept { return ResultNotImplemented; }
    virtual ResultCode setLength(IHierarchyNode* node, double length,
                                 IProjectEdit* edit) noexcept = 0;
    virtual double getEnd(IHierarchyNode* node) noexcept = 0;
    virtual ResultCode reserved25() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved26() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved27() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved28() noexcept { return ResultNotImplemented; }
    /// The object that holds this one in the project, borrowed; null while the object is not
    /// part of the project.
    virtual FUnknown* getParent() noexcept = 0;
};

/// A place in the project's hierarchy. It has no id of its own; it comes from the selection or
/// from getNode. Returned pointers are borrowed.
class IHierarchyNode : public FUnknown {
public:
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    /// Null for the project's root.
    virtual IHierarchyNode* getParentNode() noexcept = 0;
    /// The object at this place; null for the root.
    virtual IHostObject* getObject() noexcept = 0;
};

/// A track. It offers the operations of IHostObject under its own id.
class IHostTrack : public IHostObject {
public:
    static constexpr Guid iid = Guid::fromText("E9C743A1-6C48-4AFA-99BC-24C081225239");
};

/// Something that holds tracks; the project's root node answers it.
class IHostContainer : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("506DDF3C-719D-4A51-838C-6843002C2BEC");
};

} // namespace Brennovar
