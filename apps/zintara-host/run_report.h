#pragma once

#include "module/funknown.h"
#include "refhost/services/command_service.h"

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace Brennovar::RefHost {

class Project;
class ProjectObject;

/// What one command run came to, in the form zintara-host prints it: the module's answer, the
/// undo name of the edit it made, every marker track with its markers, and the selection.
struct RunReport {
    struct Marker {
        /// "position" or "cycle".
        std::string kind;
        double start = 0.0;
        double length = 0.0;
        std::string description;
        /// Values as text: integers in decimal, strings as UTF-8.
        std::map<std::string, std::string> attributes;
        bool selected = false;
        /// Where the marker stands in the project's document ("/tracks/4/markers/2").
        std::string path;
        /// Whether this run made it.
        bool created = false;
    };
    struct MarkerTrack {
        std::string name;
        bool active = false;
        std::vector<Marker> markers;
    };
    struct Selected {
        std::string kind;
        std::string name;
        /// Where the object stands in the project's document ("/tracks/0/events/1").
        std::string path;
    };

    std::string command;
    CommandRun run;
    /// The name of the last edit the run closed; empty when it closed none.
    std::string undoName;
    std::vector<MarkerTrack> markerTracks;
    std::vector<Selected> selection;
    /// With --undo: whether undoing the run gave back the project as it was.
    std::optional<bool> undoRestored;
    /// What the host noticed but went on with (a settings key the module may not know).
    std::vector<std::string> warnings;
    /// Everything that went wrong on the host's side, one line each.
    std::vector<std::string> problems;

    /// Takes the marker tracks and the selection of the project as they are now; the markers
    /// not among `before` (the markers of the project before the run) count as created.
    void captureProject(const Project& project,
                        const std::unordered_set<const ProjectObject*>& before);
    /// The project's markers, to give captureProject after the run.
    static std::unordered_set<const ProjectObject*> markersOf(const Project& project);

    /// "5 markers created on 1 track", "no marker created".
    std::string summary() const;

    /// {"result": N, "undoName": ..., "markerTracks": [...], "selection": [...], ...}
    void json(std::ostream& out) const;
    /// A table per marker track, with the result and the undo name.
    std::string table() const;
};

} // namespace Brennovar::RefHost
