#pragma once

#include "module/atomic_count.h"
#include "module/funknown.h"

namespace Brennovar {

/// An interface with the object model's atomic reference counting. addRef and release fill the
/// interface's own slots and nothing else is virtual here, so the table stays the interface's.
/// Object is the class deriving from it: the last release destroys it as an Object.
template <class Object, class Face>
class CountedFace : public Face {
public:
    CountedFace(const CountedFace&) = delete;
    CountedFace& operator=(const CountedFace&) = delete;

    uint32 addRef() noexcept override { return refCount_.increment(); }
    uint32 release() noexcept override {
        int32 count = refCount_.decrement();
        if (count != 0)
            return static_cast<uint32>(count);
        refCount_.markDestroyed();
        delete static_cast<Object*>(this);
        return 0;
    }

    /// The current count; -1000 while the object is being destroyed.
    int32 referenceCount() const noexcept { return refCount_.value(); }

protected:
    CountedFace() = default;
    ~CountedFace() = default;

private:
    Detail::AtomicCount refCount_;
};

} // namespace Brennovar
