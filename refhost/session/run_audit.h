#pragma once

#include "refhost/project/project_state.h"

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

namespace Brennovar::RefHost {

class Host;
class Project;
class ProjectObject;

/// Watches one command run for what a host requires of it: at most one undoable edit, none left
/// open, and (when asked) undo bringing the project back as it was. Made right before the run.
class RunAudit {
public:
    /// `checkUndo` keeps a copy of the project's state for undo() to compare with (as large as
    /// the project).
    RunAudit(const Project& project, bool checkUndo);

    /// After the run: the undo name of the edit it made (empty when none), and what it broke
    /// appended to `problems`.
    std::string afterRun(std::vector<std::string>& problems) const;
    /// Undoes the run and checks that the project is back as it was; selection does not count,
    /// since it is not part of the undo history. Returns whether it is.
    bool undo(Host& host, std::vector<std::string>& problems) const;

    /// The markers the project had before the run.
    const std::unordered_set<const ProjectObject*>& markersBefore() const noexcept {
        return markersBefore_;
    }

private:
    const Project& project_;
    ProjectState before_;
    std::size_t stepsBefore_;
    std::size_t editsBefore_;
    std::unordered_set<const ProjectObject*> markersBefore_;
};

} // namespace Brennovar::RefHost
