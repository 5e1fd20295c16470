#pragma once

#include "host/host_object.h"

namespace Brennovar::Zintara {

/// One marker to create: a span of the host's timeline and the event that gives it its values.
struct MarkerRange {
    double start = 0.0;
    double end = 0.0;
    /// The first (earliest) object of the range, borrowed from the selection.
    IHostObject* event = nullptr;
};

} // namespace Brennovar::Zintara
