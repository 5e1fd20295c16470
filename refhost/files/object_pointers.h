#pragma once

#include "refhost/project/object_kind.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Brennovar::RefHost {

class Project;
class ProjectObject;

/// Where the objects of a project stand in its document, as JSON pointers
/// ("/tracks/2/children/0/events/1"). Made in one walk of the project, after which each pointer
/// costs its depth, so naming every object of a large project stays linear. It describes the
/// project as it was when made: make a new one after the project changed.
class ObjectPointers {
public:
    explicit ObjectPointers(const Project& project);

    /// The pointer of an object of the project; empty for the root and for an object that was
    /// not part of the project when this was made.
    std::string of(const ProjectObject& object) const;

    /// The member of a holder that lists what it holds: "tracks" (the project), "children"
    /// (folder tracks), "markers", "notes" (MIDI parts), otherwise "events".
    static std::string_view memberOf(ObjectKind holder) noexcept;

private:
    void index(const ProjectObject& holder);

    const ProjectObject* root_;
    std::unordered_map<const ProjectObject*, std::size_t> positions_;
};

} // namespace Brennovar::RefHost
