#include "refhost/timeline/timeline_lanes.h"

#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

#include <algorithm>

namespace Brennovar::RefHost {

namespace {

using Lane = TimelineLanes::Lane;

void addEvent(Lane& lane, const ProjectObject& object, const TimelineMarks& marks) {
    const ObjectKind kind = object.kind();
    if (kind != ObjectKind::kAudioEvent && kind != ObjectKind::kAudioPart &&
        kind != ObjectKind::kMidiPart)
        return;
    lane.items.push_back({&object, marks.selected.contains(&object)});
    if (kind == ObjectKind::kAudioPart)
        for (const ProjectObject* event : object.children())
            addEvent(lane, *event, marks);
}

void addTracks(std::vector<Lane>& lanes, const ProjectObject& holder, int depth,
               const TimelineMarks& marks) {
    for (const ProjectObject* track : holder.children()) {
        if (track->kind() == ObjectKind::kMarkerTrack)
            continue;
        Lane& lane = lanes.emplace_back();
        lane.track = track;
        lane.depth = depth;
        if (track->kind() == ObjectKind::kFolderTrack) {
            addTracks(lanes, *track, depth + 1, marks);
            continue;
        }
        for (const ProjectObject* object : track->children())
            addEvent(lane, *object, marks);
    }
}

/// The lanes with their items, not yet packed.
std::vector<Lane> lanesOf(const Project& project, const TimelineMarks& marks) {
    std::vector<Lane> lanes;
    for (const ProjectObject* track : project.markerTracks()) {
        Lane& lane = lanes.emplace_back();
        lane.track = track;
        lane.markers = true;
        for (const ProjectObject* marker : track->children())
            lane.items.push_back({marker, !marks.markersBefore.contains(marker)});
    }
    addTracks(lanes, project.root(), 0, marks);
    return lanes;
}

/// The extent of every item of the lanes; (0, 0) when there is none.
TimeScale scaleFor(const std::vector<Lane>& lanes) {
    double first = 0.0;
    double last = 0.0;
    bool any = false;
    for (const Lane& lane : lanes)
        for (const TimelineLanes::Item& item : lane.items) {
            first = any ? std::min(first, item.object->start()) : item.object->start();
            last = any ? std::max(last, item.object->end()) : item.object->end();
            any = true;
        }
    return TimeScale(first, std::max(first, last));
}

/// The room a position marker's description takes beside its flag.
int flagLabelWidth(const ProjectObject& marker) {
    const std::size_t characters = marker.name().size();
    return characters == 0 ? 0
                           : static_cast<int>(std::min<std::size_t>(
                                 8 + 7 * characters, TimelineLanes::kFlagLabelWidth));
}

} // namespace

TimelineLanes::TimelineLanes(const Project& project, const TimelineMarks& marks)
    : lanes_(lanesOf(project, marks)), scale_(scaleFor(lanes_)) {
    pack();
}

int TimelineLanes::height() const noexcept {
    return lanes_.empty() ? 0 : lanes_.back().top + lanes_.back().height;
}

void TimelineLanes::pack() {
    int top = 0;
    for (Lane& lane : lanes_) {
        std::stable_sort(lane.items.begin(), lane.items.end(), [](const Item& a, const Item& b) {
            return a.object->start() < b.object->start();
        });
        for (std::size_t i = 0; i < lane.items.size(); ++i) {
            const ProjectObject& object = *lane.items[i].object;
            const int first = scale_.column(object.start());
            const int end = object.kind() == ObjectKind::kPositionMarker
                                ? first + kFlagWidth + flagLabelWidth(object)
                                : scale_.column(object.end());
            lane.packing.add(i, first, end, object.start(), object.end(),
                             lane.items[i].highlighted);
        }
        lane.top = top;
        lane.height = lane.packing.rows() * kRowHeight + 2 * kPadding;
        top += lane.height;
    }
}

} // namespace Brennovar::RefHost
