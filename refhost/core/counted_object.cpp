#include "refhost/core/counted_object.h"

#include "refhost/core/host_environment.h"

namespace Brennovar::RefHost {

ResultCode CountedObject::query(const Guid& id, void** obj) noexcept {
    if (!obj)
        return ResultInvalidArgument;
    *obj = nullptr;
    if (FaultPlan::contains(environment_.faults().refusedInterfaces, id))
        return ResultNoInterface;
    FUnknown* found = face(id);
    if (!found)
        return ResultNoInterface;
    // The face may belong to another object (the project's IHostObject is its root's); its own
    // addRef counts the reference on the right object.
    *obj = handOut(found);
    return ResultOk;
}

uint32 CountedObject::clientAddRef() noexcept {
    handedOut_.fetch_add(1);
    environment_.referenceTaken();
    return static_cast<uint32>(clientRefs_.fetch_add(1) + 2);
}

uint32 CountedObject::clientRelease() noexcept {
    int32 held = clientRefs_.load();
    while (held > 0) {
        if (clientRefs_.compare_exchange_weak(held, held - 1)) {
            environment_.referenceGivenBack();
            if (held == 1 && releasable_)
                environment_.retireIfFree(*this);
            return static_cast<uint32>(held);
        }
    }
    overReleases_.fetch_add(1);
    environment_.overReleased();
    return 1;
}

} // namespace Brennovar::RefHost
