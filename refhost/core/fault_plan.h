#pragma once

#include "module/funknown.h"

#include <algorithm>
#include <vector>

namespace Brennovar::RefHost {

/// Faults the reference host can be told to inject, so that a client's failure paths can be
/// tested. Every field is read at the moment the affected call is made; changing the plan takes
/// effect at once. The default plan injects nothing.
struct FaultPlan {
    /// getObject answers ResultNoInterface (and a null object) for these service ids.
    std::vector<Guid> missingServices;
    /// getObject refuses to create objects of these class ids (ResultNoInterface).
    std::vector<Guid> refusedClasses;
    /// Every host object's queryInterface refuses these interface ids (ResultNoInterface).
    std::vector<Guid> refusedInterfaces;
    /// When n > 0: the n-th getObject call from now fails with ResultFailed; counted down by
    /// each call, so the fault fires once.
    int32 failGetObjectAfter = 0;
    /// IProjectAccess::getProject answers null and the selection has no context, as when no
    /// project is open; the projects themselves stay as they are.
    bool noProject = false;
    /// getActiveMarkerTrack answers null, even when the project has marker tracks.
    bool noActiveMarkerTrack = false;
    /// createTrack answers null.
    bool failCreateTrack = false;
    /// getNode of the project and of its hierarchy answers null.
    bool failGetNode = false;
    /// loadTranslations answers 1 (failure).
    bool failLoadTranslations = false;
    /// registerSkin answers ResultFalse whatever the resource holds.
    bool refuseSkin = false;

    void missService(const Guid& id) { missingServices.push_back(id); }
    void refuseClass(const Guid& id) { refusedClasses.push_back(id); }
    void refuseInterface(const Guid& id) { refusedInterfaces.push_back(id); }

    static bool contains(const std::vector<Guid>& ids, const Guid& id) noexcept {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }
};

} // namespace Brennovar::RefHost
