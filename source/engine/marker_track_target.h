#pragma once

#include "host/host_object.h"
#include "module/owned.h"

namespace Brennovar::Zintara {

/// The marker track that receives a group's markers, with its place in the project. Holds one
/// reference to each; replacing either releases the previous one.
class MarkerTrackTarget {
public:
    MarkerTrackTarget() = default;
    MarkerTrackTarget(const MarkerTrackTarget&) = delete;
    MarkerTrackTarget& operator=(const MarkerTrackTarget&) = delete;

    void setTrack(Owned<IHostTrack> track) noexcept { track_ = std::move(track); }
    void setNode(Owned<IHierarchyNode> node) noexcept { node_ = std::move(node); }

    IHostTrack* track() const noexcept { return track_.get(); }
    IHierarchyNode* node() const noexcept { return node_.get(); }
    /// Markers can be written only when both the track and its node are known.
    bool isValid() const noexcept { return track_ && node_; }

private:
    Owned<IHostTrack> track_;
    Owned<IHierarchyNode> node_;
};

} // namespace Brennovar::Zintara
