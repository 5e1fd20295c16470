#include "engine/marker_counter.h"

namespace Brennovar::Zintara {

int32& markerCounter() noexcept {
    static int32 counter = 0;
    return counter;
}

int32 advanceMarkerCounter() noexcept {
    int32& counter = markerCounter();
    // Unsigned arithmetic wraps instead of overflowing a signed value.
    counter = static_cast<int32>(static_cast<uint32>(counter) + 1u);
    return counter;
}

} // namespace Brennovar::Zintara
