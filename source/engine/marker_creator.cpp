#include "engine/marker_creator.h"

#include "engine/marker_attribute_writer.h"
#include "engine/marker_counter.h"
#include "host/i_selection_service.h"
#include "localization/localized_string.h"
#include "module/host_context.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

namespace Brennovar::Zintara {

namespace {

/// Kinds of selected objects that are not events, tested in this order.
constexpr const char* kRejectedTypes[] = {
    "track",           "automation",       "marker",          "folder",
    "playorder",       "transpose",        "chord",           "tempo",
    "signature",       "midi-note",        "midi-controller", "midi-poly-pressure",
    "midi-aftertouch", "midi-program",     "midi-pitchbend",  "midi-sysex",
    "midi-meta",       "midi-note-change",
};

/// A hierarchy deeper than this is taken to be malformed (a cycle) rather than walked forever.
constexpr int kMaxHierarchyDepth = 4096;

/// The track an object lies on: the first node object, walking up from the object's own node,
/// that is a track; without one, the object of the topmost node (possibly null).
IHostObject* sourceTrackOf(IHierarchyNode* node) noexcept {
    IHostObject* last = nullptr;
    for (int depth = 0; node; ++depth) {
        if (depth == kMaxHierarchyDepth)
            return nullptr;
        last = node->getObject();
        if (last && last->isType("track"))
            return last;
        node = node->getParentNode();
    }
    return last;
}

/// Sorts the group's objects by start, reading each start from the host once. Equal starts keep
/// their selection order, and starts that are not numbers go last, so that the order is always
/// well defined.
void sortByStart(SourceTrackGroup& group) {
    struct Keyed {
        double start;
        std::size_t index;
    };
    std::vector<Keyed> keys;
    keys.reserve(group.objects.size());
    for (std::size_t i = 0; i < group.objects.size(); ++i) {
        const SelectedObject& entry = group.objects[i];
        keys.push_back({entry.object->getStart(entry.node), i});
    }
    std::sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) {
        const bool aNaN = std::isnan(a.start);
        const bool bNaN = std::isnan(b.start);
        if (aNaN != bNaN)
            return bNaN;
        if (!aNaN && a.start != b.start)
            return a.start < b.start;
        return a.index < b.index;
    });
    std::vector<SelectedObject> sorted;
    sorted.reserve(keys.size());
    for (const Keyed& key : keys)
        sorted.push_back(group.objects[key.index]);
    group.objects = std::move(sorted);
}

// Only the marker types and target kinds that the engine knows can make a marker.
bool makesMarkers(const IModel& settings) noexcept {
    const int32 markerType = settings.getMarkerType();
    const int32 targetType = settings.getTargetTrackType();
    return (markerType == kPositionMarker || markerType == kCycleMarker) &&
           targetType >= kActiveMarkerTrack && targetType <= kNewMarkerTrackPerSourceTrack;
}

std::u16string hostText(const char16_t* text) {
    return text ? std::u16string(text) : std::u16string();
}

} // namespace

MarkerCreator::MarkerCreator(const IModel& settings) noexcept : settings_(settings) {
    if (auto access = hostService<IProjectAccess>())
        project_ = access->getProject();
    if (!project_)
        return;
    Owned<IHierarchyNode> root(project_->getNode(nullptr));
    rootContainer_ = Owned<IHostContainer>::query(root.get());
}

MarkerCreator::~MarkerCreator() = default;

bool MarkerCreator::hasSelectedEvents() noexcept {
    try {
        return !collectSelection(1).empty();
    } catch (...) {
        return false;
    }
}

ResultCode MarkerCreator::run() noexcept {
    // Checked before anything is touched: a run that cannot make a marker must not deselect the
    // events or leave an empty undo step behind.
    if (!makesMarkers(settings_))
        return ResultFalse;
    try {
        if (!prepare())
            return ResultFalse;
    } catch (...) {
        return ResultFalse;
    }
    edit_ = hostService<IProjectEdit>();
    if (!edit_)
        return ResultFalse;
    edit_->beginEdit(1);
    bool ok = false;
    try {
        for (std::size_t g = 0; g < groups_.size(); ++g) {
            ok = prepareTarget(g, groups_[g].track);
            if (!ok)
                break;
            writeGroup(groups_[g]);
        }
    } catch (...) {
        // Out of memory part-way: what was written stays, and the edit is still closed.
        ok = false;
    }
    static LocalizedString undoName(u"Create Markers from Events");
    edit_->endEdit(project_, undoName.lookup());
    return ok ? ResultOk : ResultFalse;
}

std::vector<SelectedObject> MarkerCreator::collectSelection(std::size_t limit) {
    std::vector<SelectedObject> accepted;
    auto selection = hostService<ISelectionService>();
    if (!selection)
        return accepted;
    void* context = selection->getContext();
    if (!context)
        return accepted;
    selection->refresh(context, 1);
    for (int32 i = 0; i < selection->getCount(context) && accepted.size() < limit; ++i) {
        FUnknown* object = nullptr;
        IHierarchyNode* node = nullptr;
        if (selection->getAt(context, i, &object, &node) != ResultOk || !object)
            continue;
        // The selection keeps the object alive for the run, so only a borrowed pointer is kept.
        IHostObject* hostObject = Owned<IHostObject>::query(object).get();
        if (hostObject && isAcceptedObject(hostObject))
            accepted.push_back({hostObject, node});
    }
    return accepted;
}

bool MarkerCreator::isAcceptedObject(IHostObject* object) noexcept {
    if (!object)
        return false;
    return std::none_of(std::begin(kRejectedTypes), std::end(kRejectedTypes),
                        [object](const char* type) { return object->isType(type); });
}

bool MarkerCreator::prepare() {
    const std::vector<SelectedObject> selected = collectSelection(kUnlimited);
    if (selected.empty())
        return false;
    // Before grouping, so that entries that have no track are deselected as well.
    for (const SelectedObject& entry : selected)
        entry.object->setSelected(entry.node, false);
    groupByTrack(selected);
    for (SourceTrackGroup& group : groups_)
        sortByStart(group);
    return true;
}

void MarkerCreator::groupByTrack(const std::vector<SelectedObject>& selected) {
    std::unordered_map<IHostObject*, std::size_t> groupOfTrack;
    for (const SelectedObject& entry : selected) {
        IHostObject* track = sourceTrackOf(entry.node);
        if (!track)
            continue;
        const auto [found, added] = groupOfTrack.try_emplace(track, groups_.size());
        if (added)
            groups_.push_back(SourceTrackGroup{track, {}, -1});
        groups_[found->second].objects.push_back(entry);
    }
}

bool MarkerCreator::nextRange(SourceTrackGroup& group, bool combine, MarkerRange& range) noexcept {
    // The cursor never moves past the last object, so an exhausted group stays exhausted.
    const auto count = group.objects.size();
    auto next = static_cast<std::size_t>(std::max(group.cursor, -1) + 1);
    if (next >= count)
        return false;
    const SelectedObject& first = group.objects[next];
    range.start = first.object->getStart(first.node);
    range.end = first.object->getEnd(first.node);
    range.event = first.object;
    if (combine) {
        for (; next + 1 < count; ++next) {
            const SelectedObject& following = group.objects[next + 1];
            const double start = following.object->getStart(following.node);
            const double end = following.object->getEnd(following.node);
            if (range.end >= end)
                continue;
            if (start - range.end < kCombineTolerance) {
                range.end = end;
                continue;
            }
            break;
        }
    }
    group.cursor = static_cast<int32>(next);
    return true;
}

bool MarkerCreator::prepareTarget(std::size_t groupIndex, IHostObject* sourceTrack) {
    if (!project_ || !sourceTrack)
        return false;
    const int32 targetType = settings_.getTargetTrackType();
    Owned<IHostTrack> track;
    switch (targetType) {
    case kActiveMarkerTrack:
        if (groupIndex > 0)
            return true;
        track.reset(project_->getActiveMarkerTrack());
        break;
    case kNewMarkerTrack:
        if (groupIndex > 0)
            return true;
        track = newMarkerTrack();
        break;
    case kNewMarkerTrackPerSourceTrack:
        track = newMarkerTrack();
        break;
    default:
        return true;
    }
    if (!track)
        return false;
    target_.setTrack(std::move(track));
    auto hierarchy = Owned<IProjectHierarchy>::query(project_);
    target_.setNode(
        Owned<IHierarchyNode>(hierarchy ? hierarchy->getNode(target_.track()) : nullptr));
    if (!target_.isValid())
        return true;
    IHostTrack* targetTrack = target_.track();
    if (targetType == kNewMarkerTrackPerSourceTrack) {
        const std::u16string name =
            hostText(sourceTrack->getName()) + u" " + hostText(targetTrack->getName());
        targetTrack->setName(target_.node(), name.c_str(), edit_.get());
    }
    if (!targetTrack->getParent()) {
        // Markers written into a track that never joins the project would be lost.
        if (!rootContainer_)
            return false;
        edit_->insert(rootContainer_.get(), targetTrack);
    }
    return true;
}

Owned<IHostTrack> MarkerCreator::newMarkerTrack() {
    if (!activeTrackTaken_) {
        Owned<IHostTrack> active(project_->getActiveMarkerTrack());
        // A marker track that the host offers but that is not yet part of the project is used
        // once, before any track is created.
        if (!active || !active->getParent()) {
            activeTrackTaken_ = true;
            return active;
        }
    }
    Owned<FUnknown> created(project_->createTrack("marker"));
    return Owned<IHostTrack>::query(created.get());
}

void MarkerCreator::writeGroup(SourceTrackGroup& group) {
    const bool combine = settings_.getCombineAdjacent();
    MarkerContext context{project_, group.track, nullptr, nullptr, target_.node(), edit_.get()};
    MarkerRange range;
    while (nextRange(group, combine, range)) {
        context.event = range.event;
        Owned<IHostObject> marker = createMarker(range.start, range.end);
        if (!marker)
            return;
        context.marker = marker.get();
        fillAttributes(context, settings_.getMappingModel().getMappings());
        edit_->insert(target_.node(), marker.get());
        marker->setSelected(target_.node(), true);
    }
}

Owned<IHostObject> MarkerCreator::createMarker(double start, double end) {
    if (!target_.isValid())
        return {};
    const Guid* classId = nullptr;
    switch (settings_.getMarkerType()) {
    case kPositionMarker:
        classId = &HostClass::kPositionMarker;
        break;
    case kCycleMarker:
        classId = &HostClass::kCycleMarker;
        break;
    default:
        return {};
    }
    auto marker = Owned<IHostObject>::query(hostObject<FUnknown>(*classId).get());
    if (!marker)
        return {};
    marker->setStart(target_.node(), start, edit_.get());
    marker->setLength(target_.node(), end - start, edit_.get());
    return marker;
}

void MarkerCreator::fillAttributes(const MarkerContext& context, const MappingList& rows) const {
    advanceMarkerCounter();
    auto mediaService = hostService<IMediaAttributeService>();
    if (!context.marker)
        return;
    MarkerAttributeWriter writer(context, std::move(mediaService));
    writer.writeRows(rows);
}

} // namespace Brennovar::Zintara
