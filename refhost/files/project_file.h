#pragma once

#include <iosfwd>
#include <nlohmann/json_fwd.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

class CommandInputs;
class Host;
class Project;
class ProjectObject;

/// A project, settings or script file that cannot be read, or a project that cannot be written.
/// The message names the file, the place (a line and column for a syntax error, a JSON pointer
/// for content that is wrong, nothing when the file itself cannot be opened) and what is wrong:
///   "song.json:4:17: syntax error while parsing object - unexpected '}'"
///   "song.json: at /tracks/0/events/2/end: 1.5 lies before the start 2"
class ProjectFileError : public std::runtime_error {
public:
    ProjectFileError(std::string file, std::string place, std::string problem);

    const std::string& file() const noexcept { return file_; }
    /// "LINE:COLUMN", a JSON pointer, or empty.
    const std::string& place() const noexcept { return place_; }
    const std::string& problem() const noexcept { return problem_; }

private:
    std::string file_;
    std::string place_;
    std::string problem_;
};

/// Reads and writes projects as JSON documents (the format is described in
/// docs/project-format.md): the name and typed attributes of the project, its media clips, its
/// tracks with their events, parts, notes and markers, the active marker track, whether the
/// host offers a new marker track when there is none, and the selection in its order.
///
/// Reading builds a new project in the host; the whole document is checked, and the first
/// problem found is thrown as a ProjectFileError. Writing a project that was read gives a
/// document that reads back to the same project.
class ProjectFile {
public:
    /// Throws ProjectFileError; the half-built project may stay in the host, unopened.
    static Project& read(Host& host, const std::string& path);
    /// A document held in memory; `source` names it in messages.
    static Project& parse(Host& host, std::string_view text, const std::string& source);

    /// The document of a project: indented, ending with a newline.
    static std::string write(const Project& project);
    /// The same written into a stream piece by piece.
    static void write(const Project& project, std::ostream& out);
    /// Throws ProjectFileError when the file cannot be written or is one of `inputs`.
    static void save(const Project& project, const std::string& path, const CommandInputs& inputs);

    /// Builds the project of a parsed document, releasing the document's parts as they are read.
    static Project& build(Host& host, nlohmann::json& document, const std::string& source);

    /// Where the object stands in the document of its project ("/tracks/0/events/2");
    /// empty for the root and for an object that is not part of the project.
    static std::string pointerOf(const ProjectObject& object);
};

} // namespace Brennovar::RefHost
