#pragma once

#include "host/i_host_object_provider.h"
#include "module/owned.h"

namespace Brennovar::Zintara {

/// The module-wide host object provider: set by the service object's initialize and read by
/// every part that asks the host for a service or a new object. Null until then (and after a
/// failed initialize), in which case every service is simply unavailable.
IHostObjectProvider*& hostObjectProvider();

/// Asks the host object provider for a service or a new object by id; empty when there is no
/// provider or the host refuses.
template <class T>
Owned<T> hostObject(const Guid& id) {
    Owned<T> result;
    if (IHostObjectProvider* provider = hostObjectProvider())
        if (provider->getObject(id, result.putVoid()) != ResultOk)
            result.reset();
    return result;
}

/// The service with interface T.
template <class T>
Owned<T> hostService() {
    return hostObject<T>(T::iid);
}

} // namespace Brennovar::Zintara
