#pragma once

#include "engine/selected_object.h"
#include "module/funknown.h"

#include <vector>

namespace Brennovar::Zintara {

/// The selected objects that lie on one source track, sorted by start once a run is prepared.
struct SourceTrackGroup {
    /// The group's key, borrowed; two groups are the same when their track pointers are.
    IHostObject* track = nullptr;
    std::vector<SelectedObject> objects;
    /// Index of the last object consumed by range reading; -1 before the first range.
    int32 cursor = -1;
};

} // namespace Brennovar::Zintara
