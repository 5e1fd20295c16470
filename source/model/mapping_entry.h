#pragma once

#include "model/mapping_attribute.h"
#include "module/tagged_value.h"

namespace Brennovar::Zintara {

/// One mapping row: which source attribute feeds which target attribute, and the row's free
/// text. The pointers refer to entries of the owning model's catalogue and do not own them.
struct MappingEntry {
    IMappingAttribute* source = nullptr;
    IMappingAttribute* target = nullptr;
    /// The free text as an 8-bit or 16-bit string; empty when the row is created.
    FTaggedValue data;

    /// Both sides set: the row can be applied and stored.
    bool isComplete() const noexcept { return source && target; }
};

} // namespace Brennovar::Zintara
