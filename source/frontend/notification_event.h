#pragma once

#include "module/funknown.h"

namespace Brennovar::Zintara {

/// A project moment delivered to the notification manager's listeners.
struct NotificationEvent {
    enum Kind : int32 {
        /// The project is being stored: write the settings into the object.
        kStore = 0,
        /// The project was restored: read the settings from the object.
        kRestore = 1,
    };
    int32 kind;
    /// The host object handed with the notification; borrowed, valid only during delivery.
    FUnknown* object;
};

} // namespace Brennovar::Zintara
