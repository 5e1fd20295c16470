#include "refhost/session/run_audit.h"

#include "refhost/core/text_conversion.h"
#include "refhost/host/host.h"
#include "refhost/project/project_object.h"

namespace Brennovar::RefHost {

RunAudit::RunAudit(const Project& project, bool checkUndo)
    : project_(project),
      before_(checkUndo ? captureState(project, CaptureOptions{false}) : ProjectState{}),
      stepsBefore_(project.history().undoCount()),
      editsBefore_(project.history().closedEdits().size()) {
    for (const ProjectObject* track : project.markerTracks())
        markersBefore_.insert(track->children().begin(), track->children().end());
}

std::string RunAudit::afterRun(std::vector<std::string>& problems) const {
    const auto& edits = project_.history().closedEdits();
    if (edits.size() > editsBefore_ + 1)
        problems.push_back("the run made " + std::to_string(edits.size() - editsBefore_) +
                           " edits instead of one");
    if (project_.history().editOpen())
        problems.push_back("the run left an edit open");
    return edits.size() > editsBefore_ ? utf8(edits.back().name) : std::string();
}

bool RunAudit::undo(Host& host, std::vector<std::string>& problems) const {
    const bool madeStep = project_.history().undoCount() > stepsBefore_;
    if (madeStep && !host.undo())
        problems.push_back("undo of the run was refused");
    const std::string difference =
        describeDifference(before_, captureState(project_, CaptureOptions{false}));
    if (!difference.empty())
        problems.push_back(
            madeStep ? "after undo the project differs from before the run: " + difference
                     : "the run changed the project outside an undoable edit: " + difference);
    return difference.empty();
}

} // namespace Brennovar::RefHost
