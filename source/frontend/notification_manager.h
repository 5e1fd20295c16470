#pragma once

#include "frontend/notification_event.h"
#include "host/project_notifications.h"
#include "module/change_listener.h"
#include "module/implements.h"

#include <vector>

namespace Brennovar::Zintara {

/// Turns the host's project-storing and project-restored notifications into NotificationEvents
/// for its listeners. Held by value by its owner: its count starts at 1 and the owner never
/// releases it, so the host's addRef and release never destroy it.
class NotificationManager
    : public Vorn::ImplementsImpl<
          Vorn::Detail::QueryInterfaceEnd<Vorn::Detail::RefCounted>,
          Vorn::Directly<IProjectStorageNotification, IProjectNotification2>, Vorn::Indirectly<>> {
public:
    using Listener = Core::ITChangeListener<NotificationEvent>;

    /// Appends the listener; null or one already in the list is ignored. No reference is taken.
    void addListener(Listener* listener);
    /// Removes the listener's entry; absent: nothing.
    void removeListener(Listener* listener);

    // IProjectStorageNotification
    void projectStoring(FUnknown* object) noexcept override;

    // IProjectNotification2
    ResultCode projectAttached(IHostProject* project) noexcept override;
    ResultCode projectDetached(IHostProject* project) noexcept override;
    void projectNotification5() noexcept override {}
    void projectNotification6() noexcept override {}
    int32 projectNotification7() noexcept override { return 0; }
    void projectRestored(FUnknown* object) noexcept override;

    IProjectStorageNotification* storageFace() noexcept { return this; }
    IProjectNotification2* projectFace() noexcept { return this; }

private:
    void deliver(int32 kind, FUnknown* object) noexcept;

    std::vector<Listener*> listeners_;
};

} // namespace Brennovar::Zintara
