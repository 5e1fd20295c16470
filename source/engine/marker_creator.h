#pragma once

#include "engine/marker_context.h"
#include "engine/marker_range.h"
#include "engine/marker_track_target.h"
#include "engine/selected_object.h"
#include "engine/source_track_group.h"
#include "host/i_project.h"
#include "model/model.h"
#include "module/owned.h"

#include <cstddef>
#include <limits>
#include <vector>

namespace Brennovar::Zintara {

/// Turns the events selected in the host's current project into markers, in one undoable edit.
/// Built for one command run over the live settings, run once and destroyed. Everything runs on
/// the host's calling thread.
class MarkerCreator {
public:
    static constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
    /// Gaps between objects on one track smaller than this (in the host's position unit) are
    /// closed when adjacent objects are combined.
    static constexpr double kCombineTolerance = 0.00001;

    /// Takes the current project (borrowed) and a reference to its root container. The settings
    /// are borrowed and read when they are needed.
    explicit MarkerCreator(const IModel& settings) noexcept;
    MarkerCreator(const MarkerCreator&) = delete;
    MarkerCreator& operator=(const MarkerCreator&) = delete;
    ~MarkerCreator();

    /// Whether the selection holds at least one object that counts as an event.
    bool hasSelectedEvents() noexcept;
    /// Creates the markers. ResultOk when a target track could be provided for every group;
    /// ResultFalse otherwise, also when nothing was selected. A marker type or target track type
    /// that the engine does not know gives ResultFalse before anything changes.
    ResultCode run() noexcept;

    /// The accepted selected objects in the host's selection order, at most `limit` of them.
    std::vector<SelectedObject> collectSelection(std::size_t limit);
    /// False for tracks, automation, markers, folders, arrangement and musical-structure
    /// objects and MIDI note-level objects; true for every other object.
    static bool isAcceptedObject(IHostObject* object) noexcept;
    /// Collects and deselects the selection, groups it by source track and sorts each group by
    /// start. False when nothing was selected.
    bool prepare();
    /// The next range of the group, combining objects that overlap, touch or nearly touch when
    /// `combine` is set. False when the group is exhausted.
    static bool nextRange(SourceTrackGroup& group, bool combine, MarkerRange& range) noexcept;

    /// The groups made by prepare, in the order their first objects were selected.
    const std::vector<SourceTrackGroup>& groups() const noexcept { return groups_; }

private:
    void groupByTrack(const std::vector<SelectedObject>& selected);
    bool prepareTarget(std::size_t groupIndex, IHostObject* sourceTrack);
    Owned<IHostTrack> newMarkerTrack();
    void writeGroup(SourceTrackGroup& group);
    Owned<IHostObject> createMarker(double start, double end);
    void fillAttributes(const MarkerContext& context, const MappingList& rows) const;

    const IModel& settings_;
    IHostProject* project_ = nullptr;
    Owned<IHostContainer> rootContainer_;
    Owned<IProjectEdit> edit_;
    std::vector<SourceTrackGroup> groups_;
    MarkerTrackTarget target_;
    bool activeTrackTaken_ = false;
};

} // namespace Brennovar::Zintara
