#pragma once

#include "host/i_project.h"
#include "host/project_notifications.h"
#include "refhost/core/client_list.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"
#include "refhost/project/object_kind.h"
#include "refhost/project/selection_list.h"
#include "refhost/project/undo_history.h"

#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

class AudioEvent;
class Clip;
class HierarchyNode;
class ProjectObject;

/// An in-memory project: a name and attributes (carried by its root object), a hierarchy of
/// tracks, events, parts, markers and other objects, its media clips, its selection, its undo
/// history and the storage listeners clients registered with it.
///
/// Clients reach it as IHostProject (through IProjectAccess::getProject). It also answers
/// IProjectHierarchy, and IHostObject with the root object's face (the project's name and
/// attributes; isType("project")).
///
/// Building (addTrack, addObject, ...) is for the host side: it is not recorded for undo, and a
/// placement the host does not allow (see canHold) throws HostError with a readable
/// message. Names given to the host side are UTF-8.
class Project : public HostFaces<CountedObject, IHostProject, IProjectHierarchy> {
public:
    Project(HostEnvironment& environment, std::string_view name);

    // IHostProject.
    /// The active marker track with one reference for the caller (see activeMarkerTrack()).
    /// When the project has no marker track and offersNewMarkerTrack() is true: a new marker
    /// track with the default name that is not yet part of the project (a new one on each
    /// call). Otherwise null; null too under the noActiveMarkerTrack fault.
    IHostTrack* getActiveMarkerTrack() noexcept override;
    /// The node of an object of this project (or a node itself), with one reference for the
    /// caller; null gives the root node. Null for anything else, and under the failGetNode
    /// fault. Objects outside the project have nodes too (without a parent node).
    IHierarchyNode* getNode(FUnknown* object) noexcept override;
    /// A new track of the type ("marker", "audio", "instrument", "midi", "group", "folder"),
    /// not yet part of the project, with one reference for the caller; its name is the default
    /// name (defaultTrackName). Null for another or a null type and under the failCreateTrack
    /// fault.
    FUnknown* createTrack(const char* typeName) noexcept override;
    /// The host keeps a reference until removeStorageNotification. ResultInvalidArgument for
    /// null, ResultFalse when already registered.
    ResultCode addStorageNotification(IProjectStorageNotification* listener) noexcept override;
    /// ResultFalse when not registered.
    ResultCode removeStorageNotification(IProjectStorageNotification* listener) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    // Host side: identity and faces.
    std::string name() const;
    ProjectObject& root() noexcept { return *root_; }
    const ProjectObject& root() const noexcept { return *root_; }
    HierarchyNode& rootNode();
    IHostProject* hostProject() noexcept { return this; }
    /// The project's IHostObject (its root object's face): what storage and restore
    /// notifications carry.
    IHostObject* hostObject() noexcept;

    // Building.
    /// A track at the top level, or inside a folder track.
    ProjectObject& addTrack(ObjectKind kind, std::string_view name,
                            ProjectObject* folder = nullptr);
    /// Any object below a holder that may hold it (an audio event made this way has no clip).
    ProjectObject& addObject(ProjectObject& parent, ObjectKind kind, std::string_view name,
                             double start, double length);
    AudioEvent& addAudioEvent(ProjectObject& parent, std::string_view name, double start,
                              double length, Clip* clip = nullptr,
                              std::string_view description = {});
    ProjectObject& addMarker(ProjectObject& markerTrack, ObjectKind kind, std::string_view name,
                             double start, double length = 0.0);
    /// A media clip; its "FileName" media attribute is the file name.
    Clip& addClip(std::string_view fileName);
    /// A new object that is not part of the project: what createTrack and the marker classes
    /// give. Throws HostError for kRoot.
    ProjectObject& createDetached(ObjectKind kind, std::u16string name);

    // Selection.
    SelectionList& selection() noexcept { return selection_; }
    const SelectionList& selection() const noexcept { return selection_; }
    /// Selects (appending to the selection order) or deselects an object of the project; throws
    /// HostError for an object that is not part of it.
    void select(ProjectObject& object, bool selected = true);
    /// Selects every event (audio events, audio and MIDI parts), in project order.
    void selectEvents();

    // Marker tracks.
    /// The project's marker tracks, in hierarchy order (depth first).
    std::vector<ProjectObject*> markerTracks() const;
    /// The marker track chosen with setActiveMarkerTrack while it is part of the project,
    /// otherwise the first marker track; null when there is none.
    ProjectObject* activeMarkerTrack() const;
    /// Null goes back to the first marker track. Throws HostError for anything but
    /// a marker track that is part of this project.
    void setActiveMarkerTrack(ProjectObject* track);
    bool offersNewMarkerTrack() const noexcept { return offersNewMarkerTrack_; }
    void setOffersNewMarkerTrack(bool offers) noexcept { offersNewMarkerTrack_ = offers; }
    /// The name a new track of this kind gets: the first of "Markers", "Markers 2",
    /// "Markers 3", ... (likewise "Audio", "Audio 2", ...) that no track of the project has.
    std::u16string defaultTrackName(ObjectKind kind) const;

    // Undo.
    UndoHistory& history() noexcept { return history_; }
    const UndoHistory& history() const noexcept { return history_; }

    // Storage listeners.
    std::size_t storageListenerCount() const noexcept { return storageListeners_.size(); }
    /// Calls projectStoring on each storage listener with hostObject(), in registration order.
    /// The project's attributes are one plain dictionary that lives as long as the project, as a
    /// workstation keeps them: what a listener writes replaces the value under that key, and
    /// keys it wrote at an earlier storing but not now keep their values.
    void notifyStoring();
    /// Releases the host's references to the storage listeners and forgets them; returns how
    /// many there were. Call it while their module is still loaded.
    std::size_t releaseStorageListeners() noexcept;

    // Lookup.
    /// The first object (depth first, the root excluded) with this UTF-8 name and, when given,
    /// kind; null when there is none.
    ProjectObject* find(std::string_view name) const;
    ProjectObject* find(std::string_view name, ObjectKind kind) const;
    const std::vector<Clip*>& clips() const noexcept { return clips_; }

private:
    ProjectObject& place(ProjectObject& parent, ProjectObject& object);

    ProjectObject* root_ = nullptr;
    std::vector<Clip*> clips_;
    SelectionList selection_;
    UndoHistory history_;
    ProjectObject* activeMarkerTrack_ = nullptr;
    bool offersNewMarkerTrack_ = true;
    ClientList<IProjectStorageNotification> storageListeners_;
};

} // namespace Brennovar::RefHost
