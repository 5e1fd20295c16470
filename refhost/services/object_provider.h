#pragma once

#include "host/i_host_object_provider.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

#include <vector>

namespace Brennovar::RefHost {

/// The host's root service and the context handed to a module's initialize: answers
/// IHostObjectProvider.
///
/// getObject with a service id hands out the registered service; with the position-marker or
/// cycle-marker class id, a new marker of the current project that is not yet part of it; with a
/// parameter class id (the four kinds and the menu parameter), a new HostParameter of that kind;
/// with the IMenuItem or ISubMenu id, a new menu item or sub-menu. The fault plan is applied
/// first: the n-th call from now fails (ResultFailed), missing services and refused classes
/// answer ResultNoInterface. Every other id answers ResultNoInterface. No open project: the
/// marker classes answer ResultFailed.
class ObjectProvider : public HostFaces<CountedObject, IHostObjectProvider> {
public:
    explicit ObjectProvider(HostEnvironment& environment) : HostFaces(environment) {}

    /// On ResultOk *obj carries one reference; otherwise *obj is null. A null obj:
    /// ResultInvalidArgument.
    ResultCode getObject(const Guid& id, void** obj) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    /// Offers a service under its interface id; `service` is one of the host's own objects.
    void addService(const Guid& id, CountedObject& service);
    /// How many getObject calls were made so far.
    uint64_t calls() const noexcept { return calls_; }
    /// The context for a module's initialize (borrowed: the module takes its own references).
    FUnknown* context() noexcept { return static_cast<IHostObjectProvider*>(this); }

private:
    struct Service {
        Guid id;
        CountedObject* object;
    };
    ResultCode newMarker(const Guid& classId, void** obj);
    ResultCode newDialogObject(const Guid& id, void** obj);

    std::vector<Service> services_;
    uint64_t calls_ = 0;
};

} // namespace Brennovar::RefHost
