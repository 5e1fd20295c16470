#pragma once

#include "host/i_selection_service.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

namespace Brennovar::RefHost {

/// ISelectionService over the current project's selection, in selection order.
///
/// The context handle is the current project (null when none is open); calls with another
/// handle are refused (ResultInvalidArgument, count 0). The selection is read live: getCount
/// and getAt always reflect the objects selected at that moment.
class SelectionService : public HostFaces<CountedObject, ISelectionService> {
public:
    explicit SelectionService(HostEnvironment& environment) : HostFaces(environment) {}

    void* getContext() noexcept override;
    /// Nothing to bring up to date (the selection is live): ResultOk for the current context.
    ResultCode refresh(void* context, int32 flags) noexcept override;
    int32 getCount(void* context) noexcept override;
    /// *object gets the object's IHostObject face and *node its node, both borrowed.
    /// ResultInvalidArgument (and nulls) for null out pointers, a wrong context or an index
    /// outside 0..count-1.
    ResultCode getAt(void* context, int32 index, FUnknown** object,
                     IHierarchyNode** node) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;
};

} // namespace Brennovar::RefHost
