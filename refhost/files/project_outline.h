#pragma once

#include <string_view>

namespace Brennovar::RefHost {

class InputFile;
class Project;
class ProjectFactory;

/// The quick way of reading a project document (docs/project-format.md), in time and memory in
/// proportion to the project: one pass over the text notes every object in a compact outline
/// while checking the syntax, then the outline is checked as ProjectFile's document reader checks
/// a document, and only then is the project built from it, in the order that reader builds it.
///
/// It reads valid documents only, and makes nothing in the host when it declines a text: one
/// that is not a valid project, or that holds what it leaves to the document reader (a byte
/// order mark, a number beyond the range of a double, an escaped U+0000 in a key). The document
/// reader then reads the text and names its problem, so that every message comes from one place.
class ProjectOutline {
public:
    /// The project built from the text in a new project of the host; null when declined.
    /// Throws HostError when the host refuses what the outline holds (nothing it checked should
    /// make it), and std::bad_alloc.
    static Project* read(ProjectFactory& host, std::string_view text);
    /// The same from a file, read in pieces so that its text is never held whole. Throws
    /// FileError when the file cannot be read.
    static Project* read(ProjectFactory& host, InputFile& file);
};

} // namespace Brennovar::RefHost
