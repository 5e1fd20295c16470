#pragma once

#include "host/host_object.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"
#include "refhost/project/attribute_store.h"
#include "refhost/project/object_kind.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

class HierarchyNode;
class Project;

/// One object of a project: a track, event, part, marker, automation, tempo, MIDI note-level
/// object and so on, and (kind kRoot) the project's root, which holds the top-level tracks and
/// carries the project's name and attributes.
///
/// Every object answers IHostObject. IHostTrack adds no operation to IHostObject, so every
/// object carries that one table; only tracks answer the IHostTrack id. Folder tracks also
/// answer IHostContainer. The root answers IProjectHierarchy for its project.
///
/// An object is part of the project when its chain of holders reaches the root. Objects made by
/// createTrack or the marker classes are not, until a client inserts them (getParent null).
///
/// Changes through the interface (setName, setStart, setLength, setAttribute) and insertion
/// are recorded by the project's undo history: inside an open edit they join it; outside an
/// edit, a name, position or length change of an object that is part of the project becomes an
/// undo step of its own, while attribute changes and changes of objects outside the project are
/// not undoable. Selection is never part of the undo history.
class ProjectObject : public HostFaces<CountedObject, IHostTrack, IHostContainer> {
public:
    ProjectObject(HostEnvironment& environment, Project& project, ObjectKind kind,
                  std::u16string name);

    // IHostObject. The node arguments name the place the call concerns; an object has one
    // place, so they are accepted and not needed. Positions are seconds.
    bool isType(const char* typeName) noexcept override;
    /// Stores an owned copy. ResultInvalidArgument for a null key or a value that cannot be
    /// stored (an object; see AttributeStore); an empty value removes the key.
    ResultCode setAttribute(const char* key, const FTaggedValue& value,
                            bool flag) noexcept override;
    /// Copies the stored value into `value` (releasing what it held): ResultOk. A missing key:
    /// ResultFalse and `value` untouched. A null key: ResultInvalidArgument.
    ResultCode getAttribute(const char* key, FTaggedValue& value) noexcept override;
    const char16_t* getName() noexcept override;
    /// ResultInvalidArgument for a null name.
    ResultCode setName(IHierarchyNode* node, const char16_t* name,
                       IProjectEdit* edit) noexcept override;
    /// Selects (appending to the selection order) or deselects. Only objects that are part of
    /// the project can be selected: others answer ResultFalse. The root answers ResultFalse.
    ResultCode setSelected(IHierarchyNode* node, bool selected) noexcept override;
    double getStart(IHierarchyNode* node) noexcept override;
    /// ResultInvalidArgument for a start that is not finite.
    ResultCode setStart(IHierarchyNode* node, double start, IProjectEdit* edit) noexcept override;
    /// ResultInvalidArgument for a length that is negative or not finite.
    ResultCode setLength(IHierarchyNode* node, double length, IProjectEdit* edit) noexcept override;
    double getEnd(IHierarchyNode* node) noexcept override;
    /// The holder's IHostObject face; for a top-level track the root container (the root node's
    /// IHostContainer face); null when the object is not held (and for the root).
    FUnknown* getParent() noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    // Host side.
    ObjectKind kind() const noexcept { return kind_; }
    Project& project() const noexcept { return project_; }
    const std::u16string& name() const noexcept { return name_; }
    std::string nameUtf8() const;
    double start() const noexcept { return start_; }
    double length() const noexcept { return length_; }
    /// The end as it was given to assignSpan, or start + length after a change.
    double end() const noexcept { return end_; }
    bool selected() const noexcept { return selected_; }
    const AttributeStore& attributes() const noexcept { return attributes_; }
    ProjectObject* parent() const noexcept { return parent_; }
    /// Where this object stands among its holder's children (0 when it is not held).
    std::size_t place() const noexcept { return place_; }
    const std::vector<ProjectObject*>& children() const noexcept {
        return children_ ? *children_ : kNoChildren;
    }
    /// Whether the chain of holders reaches the project's root (the root itself: true).
    bool isAttached() const noexcept;
    /// This object's place in the hierarchy (made on first use, kept for the host's life).
    HierarchyNode& node();
    /// The IHostObject face (as a client sees it).
    IHostObject* hostObject() noexcept { return static_cast<IHostTrack*>(this); }

    // Host-side changes, recorded like the interface calls (building a project uses the setters
    // below instead, which are not recorded).
    ResultCode rename(std::u16string name);
    ResultCode moveTo(double start);
    ResultCode resize(double length);

    // Plain setters: change the value and record nothing. Used to build projects and by the
    // undo history to apply changes.
    void assignName(std::u16string name) { name_ = std::move(name); }
    void assignStart(double start) noexcept {
        start_ = start;
        end_ = start_ + length_;
    }
    void assignLength(double length) noexcept {
        length_ = length;
        end_ = start_ + length_;
    }
    /// Start and end exactly as given (a file's numbers): end() answers `end` itself rather than
    /// start + (end - start), which can differ in the last digit.
    void assignSpan(double start, double end) noexcept {
        start_ = start;
        length_ = end - start;
        end_ = end;
    }
    void assignAttribute(const std::string& key, const FTaggedValue* value);
    /// Puts child at index (clamped to the end) among the children; the child must be unheld.
    void attachChild(ProjectObject& child, std::size_t index);
    /// Takes this object out of its holder; returns its index there. Deselects the object and
    /// everything below it, since what is not part of the project cannot stay selected.
    std::size_t detach();
    /// Sets the selected flag and, for the project's SelectionList, where the object stands in
    /// its order; touches nothing else.
    void assignSelected(bool selected, std::uint32_t slot = 0) noexcept {
        selected_ = selected;
        selectionSlot_ = slot;
    }
    std::uint32_t selectionSlot() const noexcept { return selectionSlot_; }

private:
    static const std::vector<ProjectObject*> kNoChildren;

    void deselectTree();
    /// Tells the children from `first` on where they stand.
    void renumberChildren(std::size_t first) noexcept;

    Project& project_;
    ObjectKind kind_;
    bool selected_ = false;
    // 32 bits each, beside the kind and the flag, where they cost no room.
    std::uint32_t place_ = 0;
    std::uint32_t selectionSlot_ = 0;
    std::u16string name_;
    double start_ = 0.0;
    double length_ = 0.0;
    double end_ = 0.0;
    AttributeStore attributes_;
    ProjectObject* parent_ = nullptr;
    // Most objects of a large project (its events, notes and markers) hold nothing: they keep a
    // null pointer rather than an empty list.
    std::unique_ptr<std::vector<ProjectObject*>> children_;
    HierarchyNode* node_ = nullptr;
};

} // namespace Brennovar::RefHost
