#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

class Project;

/// Module settings given on the command line (`zintara-host run --settings FILE`). They are
/// written into a project as the attributes under which the module stores its settings, so the
/// module restores them when the project is opened, exactly as from a project saved with those
/// settings. Every stored setting is replaced; the format is described in
/// docs/zintara-host.md:
///
///   {"markerType": "position", "targetTrackType": "perSourceTrack", "combineAdjacent": false,
///    "mappings": [{"source": "EventName", "target": "MarkerDescription"},
///                 {"source": "FreeText", "target": "User:STR_MAComment", "text": "Take 3"}]}
class SettingsFile {
public:
    /// Reads the file and applies it; throws FileError naming the file, the place and
    /// the problem, in the form of project files. A source or target key the module does not
    /// offer is passed on (the module drops its row, as from a stored project) and reported in
    /// the warnings returned, one line each.
    static std::vector<std::string> apply(const std::string& path, Project& project);
    /// The same for a document already in memory; `source` names it in errors.
    static std::vector<std::string> applyText(std::string_view text, const std::string& source,
                                              Project& project);

    /// The source and target keys the module offers, in the module's menu order.
    static std::span<const std::string_view> sourceKeys() noexcept;
    static std::span<const std::string_view> targetKeys() noexcept;
};

} // namespace Brennovar::RefHost
