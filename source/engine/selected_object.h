#pragma once

#include "host/host_object.h"

namespace Brennovar::Zintara {

/// One accepted selected object. Both pointers are borrowed: the host's selection owns them for
/// the run.
struct SelectedObject {
    IHostObject* object = nullptr;
    /// The place of the object in the project, used for every position query.
    IHierarchyNode* node = nullptr;
};

} // namespace Brennovar::Zintara
