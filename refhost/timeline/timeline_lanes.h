#pragma once

#include "refhost/timeline/lane_packing.h"
#include "refhost/timeline/time_scale.h"

#include <unordered_set>
#include <vector>

namespace Brennovar::RefHost {

class Project;
class ProjectObject;

/// What a run did, as the timeline marks it.
struct TimelineMarks {
    /// The objects selected when the command ran: its events are outlined.
    const std::unordered_set<const ProjectObject*>& selected;
    /// The markers the project had before the run: every other marker is highlighted as made
    /// by the run.
    const std::unordered_set<const ProjectObject*>& markersBefore;
};

/// The lanes of a project's timeline, laid out: first a lane per marker track (in project
/// order) with its markers, then a lane per other track in project order, indented by its depth
/// in folders, with its audio events, audio parts (and the audio events inside them) and MIDI
/// parts. The time scale is chosen from the extent of all of these; each lane is packed
/// (LanePacking) into as many rows as its overlapping items need, up to the limit.
class TimelineLanes {
public:
    static constexpr int kRowHeight = 18;
    /// Above and below a lane's rows.
    static constexpr int kPadding = 3;
    /// A position marker is a flag this wide, with its description beside it in at most
    /// kFlagLabelWidth px (about 7 px a character).
    static constexpr int kFlagWidth = 9;
    static constexpr int kFlagLabelWidth = 160;

    struct Item {
        const ProjectObject* object;
        /// A selected event, or a marker the run made.
        bool highlighted;
    };
    struct Lane {
        const ProjectObject* track;
        /// How many folders hold the track.
        int depth = 0;
        bool markers = false;
        /// From the top of the first lane.
        int top = 0;
        int height = 0;
        /// In order of start; LanePacking's indexes refer to them.
        std::vector<Item> items;
        LanePacking packing;

        int rowTop(int row) const noexcept { return top + kPadding + row * kRowHeight; }
    };

    TimelineLanes(const Project& project, const TimelineMarks& marks);

    const TimeScale& scale() const noexcept { return scale_; }
    const std::vector<Lane>& lanes() const noexcept { return lanes_; }
    /// The height of all lanes.
    int height() const noexcept;

private:
    /// Sorts each lane's items, packs them and stacks the lanes.
    void pack();

    std::vector<Lane> lanes_;
    TimeScale scale_;
};

} // namespace Brennovar::RefHost
