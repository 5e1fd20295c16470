#pragma once

#include "module/funknown.h"
#include "refhost/core/host_environment.h"

#include <utility>

namespace Brennovar::RefHost {

/// Derives from Base (CountedObject or a class built on it) and from each interface in order,
/// and gives every face the same FUnknown operations: queryInterface through face(), addRef and
/// release through the client count. hasFace() knows the faces by address, so that a pointer a
/// client passes back can be recognised without being dereferenced.
template <class Base, class... Interfaces>
class HostFaces : public Base, public Interfaces... {
public:
    template <class... Args>
    explicit HostFaces(Args&&... args) : Base(std::forward<Args>(args)...) {}

    bool hasFace(const void* pointer) const noexcept override {
        return ((pointer == static_cast<const Interfaces*>(this)) || ...) || Base::hasFace(pointer);
    }

    ResultCode queryInterface(const Guid& id, void** obj) noexcept override {
        return this->query(id, obj);
    }
    uint32 addRef() noexcept override { return this->clientAddRef(); }
    uint32 release() noexcept override { return this->clientRelease(); }
};

} // namespace Brennovar::RefHost
