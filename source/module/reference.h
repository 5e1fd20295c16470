#pragma once

#include "module/funknown.h"

namespace Brennovar::Core {

/// A plain reference-counted object: slot 0 destructor, then addRef and release.
class IReference {
public:
    virtual ~IReference() = default;
    virtual int32 addRef() = 0;
    virtual int32 release() = 0;
};

class IVirtualReference : public virtual IReference {};

/// Implements IReference with a plain (non-atomic) count that starts at 1. The original
/// declares the count as `long`; it is 32-bit here as everywhere in the object model. Only used
/// on the host's calling thread.
template <class Interface, class Count>
class ReferenceImpl : public Interface {
public:
    ReferenceImpl() = default;
    ReferenceImpl(const ReferenceImpl&) = delete;
    ReferenceImpl& operator=(const ReferenceImpl&) = delete;

    virtual void beforeDestruction() {}

    int32 addRef() override { return static_cast<int32>(++count_); }
    int32 release() override {
        if (--count_ != 0)
            return static_cast<int32>(count_);
        beforeDestruction();
        count_ = -1000;
        delete static_cast<IReference*>(this);
        return 0;
    }

    int32 referenceCount() const { return static_cast<int32>(count_); }

private:
    Count count_ = 1;
};

} // namespace Brennovar::Core
