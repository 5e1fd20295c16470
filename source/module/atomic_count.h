#pragma once

#include "module/funknown.h"

#include <atomic>

namespace Brennovar::Detail {

/// The atomic reference count of the object model: starts at 1; a destroyed object's count
/// reads -1000.
class AtomicCount {
public:
    /// Returns the count after the increment.
    uint32 increment() noexcept { return static_cast<uint32>(count_.fetch_add(1) + 1); }
    /// Returns the count after the decrement; at 0 the owner destroys the object.
    int32 decrement() noexcept { return count_.fetch_sub(1) - 1; }
    void markDestroyed() noexcept { count_.exchange(-1000); }
    int32 value() const noexcept { return count_.load(); }

private:
    std::atomic<int32> count_{1};
};

} // namespace Brennovar::Detail
