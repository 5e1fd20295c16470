#pragma once

#include "refhost/core/host_error.h"

#include <iosfwd>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

class CommandInputs;
class ProjectFactory;
class Project;
class ProjectObject;

/// Reads and writes projects as JSON documents (the format is described in
/// docs/project-format.md): the name and typed attributes of the project, its media clips, its
/// tracks with their events, parts, notes and markers, the active marker track, whether the
/// host offers a new marker track when there is none, and the selection in its order.
///
/// Reading builds a new project in the host; the whole document is checked, and the first
/// problem found is thrown as a FileError. Writing a project that was read gives a
/// document that reads back to the same project.
class ProjectFile {
public:
    /// Throws FileError; the half-built project may stay in the host, unopened.
    static Project& read(ProjectFactory& host, const std::string& path);
    /// A document held in memory; `source` names it in messages.
    static Project& parse(ProjectFactory& host, std::string_view text, const std::string& source);

    /// The document of a project: indented, ending with a newline.
    static std::string write(const Project& project);
    /// The same written into a stream piece by piece.
    static void write(const Project& project, std::ostream& out);
    /// Throws FileError when the file cannot be written or is one of `inputs`.
    static void save(const Project& project, const std::string& path, const CommandInputs& inputs);

    /// Builds the project of a parsed document, releasing the document's parts as they are read.
    static Project& build(ProjectFactory& host, nlohmann::json& document,
                          const std::string& source);

    /// Where the object stands in the document of its project ("/tracks/0/events/2");
    /// empty for the root and for an object that is not part of the project.
    static std::string pointerOf(const ProjectObject& object);
};

} // namespace Brennovar::RefHost
