#include "refhost/project/project.h"

#include "refhost/core/host_error.h"
#include "refhost/core/text_conversion.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/hierarchy_node.h"
#include "refhost/project/project_object.h"

#include <cmath>
#include <functional>
#include <set>

namespace Brennovar::RefHost {

namespace {

void checkPosition(double start, double length) {
    if (!std::isfinite(start) || !std::isfinite(length) || length < 0.0)
        throw HostError(kExitBadInput, "invalid position: start " + std::to_string(start) +
                                           ", length " + std::to_string(length));
}

/// Calls visit on every object below `from` (not on `from`), depth first, until visit answers
/// false; returns false when it stopped early.
bool walk(const ProjectObject& from, const std::function<bool(ProjectObject&)>& visit) {
    for (ProjectObject* child : from.children())
        if (!visit(*child) || !walk(*child, visit))
            return false;
    return true;
}

/// Calls visit on every track below `from`, depth first; only folder tracks hold tracks, so the
/// events, parts and markers are not walked.
bool walkTracks(const ProjectObject& from, const std::function<bool(ProjectObject&)>& visit) {
    for (ProjectObject* child : from.children()) {
        if (!isTrack(child->kind()))
            continue;
        if (!visit(*child) ||
            (child->kind() == ObjectKind::kFolderTrack && !walkTracks(*child, visit)))
            return false;
    }
    return true;
}

std::u16string numbered(std::u16string_view base, int number) {
    std::u16string name(base);
    if (number > 1) {
        name += u' ';
        for (char digit : std::to_string(number))
            name += static_cast<char16_t>(digit);
    }
    return name;
}

} // namespace

Project::Project(HostEnvironment& environment, std::string_view name) : HostFaces(environment) {
    root_ = &environment.make<ProjectObject>(*this, ObjectKind::kRoot, utf16(name));
}

IHostTrack* Project::getActiveMarkerTrack() noexcept {
    if (environment().faults().noActiveMarkerTrack)
        return nullptr;
    try {
        if (ProjectObject* track = activeMarkerTrack())
            return handOut(static_cast<IHostTrack*>(track));
        if (!offersNewMarkerTrack_)
            return nullptr;
        ProjectObject& offered =
            createDetached(ObjectKind::kMarkerTrack, defaultTrackName(ObjectKind::kMarkerTrack));
        return handOut(static_cast<IHostTrack*>(&offered));
    } catch (...) {
        return nullptr;
    }
}

IHierarchyNode* Project::getNode(FUnknown* object) noexcept {
    if (environment().faults().failGetNode)
        return nullptr;
    try {
        if (!object)
            return handOut(rootNode().hierarchyNode());
        CountedObject* owner = environment().resolve(object);
        if (auto* found = dynamic_cast<ProjectObject*>(owner); found && &found->project() == this)
            return handOut(found->node().hierarchyNode());
        if (auto* node = dynamic_cast<HierarchyNode*>(owner);
            node && &node->object().project() == this)
            return handOut(node->hierarchyNode());
        if (owner == this)
            return handOut(rootNode().hierarchyNode());
        return nullptr;
    } catch (...) {
        return nullptr;
    }
}

FUnknown* Project::createTrack(const char* typeName) noexcept {
    if (!typeName || environment().faults().failCreateTrack)
        return nullptr;
    std::optional<ObjectKind> kind = trackKindForType(typeName);
    if (!kind)
        return nullptr;
    try {
        ProjectObject& track = createDetached(*kind, defaultTrackName(*kind));
        return handOut(static_cast<FUnknown*>(track.hostObject()));
    } catch (...) {
        return nullptr;
    }
}

ResultCode Project::addStorageNotification(IProjectStorageNotification* listener) noexcept {
    return storageListeners_.add(listener);
}

ResultCode Project::removeStorageNotification(IProjectStorageNotification* listener) noexcept {
    return storageListeners_.remove(listener);
}

FUnknown* Project::face(const Guid& id) noexcept {
    if (id == FUnknown::iid)
        return hostProject();
    if (id == IProjectHierarchy::iid)
        return static_cast<IProjectHierarchy*>(this);
    if (id == IHostObject::iid)
        return hostObject();
    return nullptr;
}

std::string Project::describe() const {
    return "project '" + name() + "'";
}

std::string Project::name() const {
    return root_->nameUtf8();
}

HierarchyNode& Project::rootNode() {
    return root_->node();
}

IHostObject* Project::hostObject() noexcept {
    return root_->hostObject();
}

ProjectObject& Project::addTrack(ObjectKind kind, std::string_view name, ProjectObject* folder) {
    if (!isTrack(kind))
        throw HostError(kExitBadInput, std::string(kindName(kind)) + " is not a track");
    return place(folder ? *folder : *root_, createDetached(kind, utf16(name)));
}

ProjectObject& Project::addObject(ProjectObject& parent, ObjectKind kind, std::string_view name,
                                  double start, double length) {
    checkPosition(start, length);
    ProjectObject& object = createDetached(kind, utf16(name));
    object.assignStart(start);
    object.assignLength(length);
    return place(parent, object);
}

AudioEvent& Project::addAudioEvent(ProjectObject& parent, std::string_view name, double start,
                                   double length, Clip* clip, std::string_view description) {
    checkPosition(start, length);
    auto& event = environment().make<AudioEvent>(*this, utf16(name));
    event.assignStart(start);
    event.assignLength(length);
    event.setClip(clip);
    event.setDescription(utf16(description));
    place(parent, event);
    return event;
}

ProjectObject& Project::addMarker(ProjectObject& markerTrack, ObjectKind kind,
                                  std::string_view name, double start, double length) {
    if (!isMarker(kind))
        throw HostError(kExitBadInput, std::string(kindName(kind)) + " is not a marker");
    return addObject(markerTrack, kind, name, start, length);
}

Clip& Project::addClip(std::string_view fileName) {
    Clip& clip = environment().make<Clip>(std::string(fileName));
    clips_.push_back(&clip);
    return clip;
}

ProjectObject& Project::createDetached(ObjectKind kind, std::u16string name) {
    if (kind == ObjectKind::kRoot)
        throw HostError(kExitBadInput, "a project has one root");
    if (kind == ObjectKind::kAudioEvent)
        return environment().make<AudioEvent>(*this, std::move(name));
    return environment().make<ProjectObject>(*this, kind, std::move(name));
}

ProjectObject& Project::place(ProjectObject& parent, ProjectObject& object) {
    if (&parent.project() != this)
        throw HostError(kExitBadInput, parent.describe() + " belongs to another project");
    if (!canHold(parent.kind(), object.kind()))
        throw HostError(kExitBadInput, "a " + std::string(kindName(parent.kind())) +
                                           " cannot hold a " +
                                           std::string(kindName(object.kind())));
    parent.attachChild(object, parent.children().size());
    return object;
}

void Project::select(ProjectObject& object, bool selected) {
    if (&object.project() != this || object.kind() == ObjectKind::kRoot || !object.isAttached())
        throw HostError(kExitBadInput, object.describe() + " is not part of " + describe());
    if (selected)
        selection_.add(object);
    else
        selection_.remove(object);
}

std::vector<ProjectObject*> Project::markerTracks() const {
    std::vector<ProjectObject*> tracks;
    walkTracks(*root_, [&](ProjectObject& object) {
        if (object.kind() == ObjectKind::kMarkerTrack)
            tracks.push_back(&object);
        return true;
    });
    return tracks;
}

ProjectObject* Project::activeMarkerTrack() const {
    if (activeMarkerTrack_ && activeMarkerTrack_->isAttached())
        return activeMarkerTrack_;
    ProjectObject* first = nullptr;
    walkTracks(*root_, [&](ProjectObject& object) {
        if (object.kind() == ObjectKind::kMarkerTrack)
            first = &object;
        return first == nullptr;
    });
    return first;
}

void Project::setActiveMarkerTrack(ProjectObject* track) {
    if (track && (&track->project() != this || track->kind() != ObjectKind::kMarkerTrack ||
                  !track->isAttached()))
        throw HostError(kExitBadInput,
                        track->describe() + " is not a marker track of " + describe());
    activeMarkerTrack_ = track;
}

std::u16string Project::defaultTrackName(ObjectKind kind) const {
    std::set<std::u16string, std::less<>> taken;
    walkTracks(*root_, [&](ProjectObject& object) {
        if (isTrack(object.kind()))
            taken.insert(object.name());
        return true;
    });
    std::u16string_view base = trackNameBase(kind);
    for (int number = 1;; ++number) {
        std::u16string candidate = numbered(base, number);
        if (!taken.contains(candidate))
            return candidate;
    }
}

void Project::notifyStoring() {
    storageListeners_.notify(
        [this](IProjectStorageNotification* listener) { listener->projectStoring(hostObject()); });
}

std::size_t Project::releaseStorageListeners() noexcept {
    return storageListeners_.releaseAll();
}

ProjectObject* Project::find(std::string_view name) const {
    std::u16string wanted = utf16(name);
    ProjectObject* found = nullptr;
    walk(*root_, [&](ProjectObject& object) {
        if (object.name() == wanted)
            found = &object;
        return found == nullptr;
    });
    return found;
}

ProjectObject* Project::find(std::string_view name, ObjectKind kind) const {
    std::u16string wanted = utf16(name);
    ProjectObject* found = nullptr;
    walk(*root_, [&](ProjectObject& object) {
        if (object.kind() == kind && object.name() == wanted)
            found = &object;
        return found == nullptr;
    });
    return found;
}

namespace {

bool isEvent(ObjectKind kind) {
    return kind == ObjectKind::kAudioEvent || kind == ObjectKind::kAudioPart ||
           kind == ObjectKind::kMidiPart;
}

void selectEventsBelow(Project& project, ProjectObject& holder) {
    for (ProjectObject* child : holder.children()) {
        if (isEvent(child->kind()))
            project.select(*child);
        selectEventsBelow(project, *child);
    }
}

} // namespace

void Project::selectEvents() {
    selectEventsBelow(*this, root());
}

} // namespace Brennovar::RefHost
