#pragma once

#include "module/funknown.h"

namespace Brennovar::Zintara {

/// The number of the last marker whose attributes were filled, for the whole loaded module. It
/// starts at 0 and is never reset, so numbering runs on from one command run to the next.
int32& markerCounter() noexcept;

/// Advances the counter by one and returns the new value. Past the largest 32-bit value it wraps
/// to the smallest instead of overflowing.
int32 advanceMarkerCounter() noexcept;

} // namespace Brennovar::Zintara
