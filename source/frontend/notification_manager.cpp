#include "frontend/notification_manager.h"

#include "host/i_project.h"

#include <algorithm>

namespace Brennovar::Zintara {

void NotificationManager::addListener(Listener* listener) {
    if (!listener || std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
        return;
    listeners_.push_back(listener);
}

void NotificationManager::removeListener(Listener* listener) {
    auto found = std::find(listeners_.begin(), listeners_.end(), listener);
    if (found != listeners_.end())
        listeners_.erase(found);
}

void NotificationManager::projectStoring(FUnknown* object) noexcept {
    deliver(NotificationEvent::kStore, object);
}

void NotificationManager::projectRestored(FUnknown* object) noexcept {
    deliver(NotificationEvent::kRestore, object);
}

ResultCode NotificationManager::projectAttached(IHostProject* project) noexcept {
    return project ? project->addStorageNotification(storageFace()) : ResultOk;
}

ResultCode NotificationManager::projectDetached(IHostProject* project) noexcept {
    return project ? project->removeStorageNotification(storageFace()) : ResultOk;
}

void NotificationManager::deliver(int32 kind, FUnknown* object) noexcept {
    const NotificationEvent event{kind, object};
    for (Listener* listener : listeners_)
        listener->onChange(event);
}

} // namespace Brennovar::Zintara
