#pragma once

#include "module/atomic_count.h"
#include "module/funknown.h"

namespace Brennovar::Vorn {

namespace Detail {

/// A virtual destructor, a beforeDestruction hook and an atomic count that starts at 1.
class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;
    virtual ~RefCounted() = default;
    virtual void beforeDestruction() noexcept {}

    /// The current count; -1000 once destruction has begun.
    int32 referenceCount() const noexcept { return refCount_.value(); }

protected:
    uint32 addRefCounted() noexcept { return refCount_.increment(); }
    uint32 releaseCounted() noexcept {
        int32 count = refCount_.decrement();
        if (count != 0)
            return static_cast<uint32>(count);
        beforeDestruction();
        refCount_.markDestroyed();
        delete this;
        return 0;
    }

private:
    Brennovar::Detail::AtomicCount refCount_;
};

/// Ends the interface search: answers no id of its own.
template <class Base>
class QueryInterfaceEnd;

template <>
class QueryInterfaceEnd<RefCounted> : public RefCounted {
protected:
    ResultCode baseQueryInterface(const Guid&, void** obj) noexcept {
        *obj = nullptr;
        return ResultNoInterface;
    }
    uint32 baseAddRef() noexcept { return addRefCounted(); }
    uint32 baseRelease() noexcept { return releaseCounted(); }
};

} // namespace Detail

/// The interfaces that a class offers as faces of its own, in order.
template <class... Interfaces>
struct Directly {};
/// Further interfaces reachable through the direct ones; empty for every class of the module.
template <class... Interfaces>
struct Indirectly {};

template <class Base, class DirectList, class IndirectList>
class ImplementsImpl;

/// Derives from Base and from each direct interface in list order, and gives all faces one
/// queryInterface, addRef and release. The FUnknown id answers the first direct face. Ids that
/// no direct interface has end in QueryInterfaceEnd (ResultNoInterface) or go to the base's
/// queryInterface.
template <class Base, class First, class... Rest, class... Indirect>
class ImplementsImpl<Base, Directly<First, Rest...>, Indirectly<Indirect...>>
    : public Base, public First, public Rest... {
public:
    using Base::Base;

    ResultCode queryInterface(const Guid& id, void** obj) noexcept override {
        if (!obj)
            return ResultInvalidArgument;
        FUnknown* face = nullptr;
        if (id == First::iid || id == FUnknown::iid)
            face = static_cast<First*>(this);
        else
            ((face == nullptr && id == Rest::iid ? (face = static_cast<Rest*>(this), 0) : 0), ...);
        if (face) {
            face->addRef();
            *obj = face;
            return ResultOk;
        }
        return Base::baseQueryInterface(id, obj);
    }
    uint32 addRef() noexcept override { return Base::baseAddRef(); }
    uint32 release() noexcept override { return Base::baseRelease(); }

    /// The first direct face, which stands for the object.
    FUnknown* unknown() noexcept { return static_cast<First*>(this); }
};

} // namespace Brennovar::Vorn
