#pragma once

#include "host/host_object.h"
#include "host/i_project.h"

namespace Brennovar::Zintara {

/// What the attribute values of one marker are taken from and written with. One per group,
/// updated for each marker. Every pointer is borrowed from the run.
struct MarkerContext {
    IHostProject* project = nullptr;
    /// The group's track.
    IHostObject* sourceTrack = nullptr;
    /// The current range's event.
    IHostObject* event = nullptr;
    /// The marker being written.
    IHostObject* marker = nullptr;
    IHierarchyNode* targetNode = nullptr;
    IProjectEdit* edit = nullptr;
};

} // namespace Brennovar::Zintara
