#pragma once

#include "host/i_project.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

namespace Brennovar::RefHost {

/// IProjectEdit: undoable edits of the current project (see UndoHistory).
class EditService : public HostFaces<CountedObject, IProjectEdit> {
public:
    explicit EditService(HostEnvironment& environment) : HostFaces(environment) {}

    /// Opens an edit of the current project (or joins the open one). ResultFalse when no
    /// project is open.
    ResultCode beginEdit(int32 flags) noexcept override;
    /// Closes the edit under the undo name (a null name gives an empty one). ResultFalse when
    /// no edit is open; ResultInvalidArgument (the edit stays open) when `project` is neither
    /// null nor the current project.
    ResultCode endEdit(IHostProject* project, const char16_t* undoName) noexcept override;
    /// Inserts an object of the current project that is not part of it below parent: a node, a
    /// container (the root node's), or a project object. The object is appended to the
    /// parent's children and the insertion is recorded for undo. ResultInvalidArgument for a
    /// parent or object the host does not know, of another project, an object that is already
    /// held, a placement the host does not allow (canHold), or an insertion that would put an
    /// object below itself.
    ResultCode insert(FUnknown* parent, FUnknown* object) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;
};

} // namespace Brennovar::RefHost
