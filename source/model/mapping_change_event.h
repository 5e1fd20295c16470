#pragma once

#include "module/change_listener.h"
#include "module/funknown.h"

namespace Brennovar::Zintara {

/// What changed in a mapping model. Listeners receive it by reference during the notification
/// and keep neither the event nor its key pointer.
struct MappingChangeEvent {
    enum Kind : int32 {
        kSourceAttributeAdded = 0,
        kTargetAttributeAdded = 1,
        kMappingAdded = 2,
        kMappingChanged = 3,
        kMappingRemoved = 4,
    };

    Kind kind;
    /// The key the change concerns, or an empty string; never null.
    const char* key;
    /// The row index; 0 for the two catalogue kinds.
    int32 index;
};

using MappingChangeListener = Core::ITChangeListener<MappingChangeEvent>;

} // namespace Brennovar::Zintara
