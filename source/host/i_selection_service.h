#pragma once

#include "host/host_object.h"
#include "module/funknown.h"

namespace Brennovar {

/// The objects selected in the current project, in selection order.
class ISelectionService : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("05B21566-9B33-4363-AF1E-7C4B52D99238");
    /// An opaque handle of the current selection context; null when there is none.
    virtual void* getContext() noexcept = 0;
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual ResultCode refresh(void* context, int32 flags) noexcept = 0;
    virtual int32 getCount(void* context) noexcept = 0;
    /// Both out pointers are borrowed: the selection owns them for the run.
    virtual ResultCode getAt(void* context, int32 index, FUnknown** object,
                             IHierarchyNode** node) noexcept = 0;
};

} // namespace Brennovar
