#pragma once

#include "module/funknown.h"
#include "refhost/files/json_writer.h"
#include "refhost/services/command_service.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace Brennovar::RefHost {

class Project;
class ProjectObject;

/// What one command run came to, written in the form zintara-host prints it (a table, or one
/// JSON object) while the tool goes on, in two parts. The first, right after the run: the
/// module's answer, the undo name of the edit it made, every marker track with its markers and
/// the selection, read from the project as they are then rather than copied, so that reporting a
/// million markers takes no more memory than the project holds. The second, once the tool has
/// undone and saved what was asked: whether undo restored the project, the warnings and
/// problems, and the summary.
class RunReport {
public:
    RunReport(std::ostream& out, bool json);
    ~RunReport();
    RunReport(const RunReport&) = delete;
    RunReport& operator=(const RunReport&) = delete;

    /// The first part. The markers not among `before` (the project's markers before the run,
    /// see markersOf) count as created.
    void writeRun(const std::string& command, const CommandRun& run, const std::string& undoName,
                  const Project& project, const std::unordered_set<const ProjectObject*>& before);
    /// The second part; `undoRestored` only with --undo. Problems and warnings go into the JSON
    /// object; the table leaves them to the caller, who writes them to standard error.
    void finish(std::optional<bool> undoRestored, const std::vector<std::string>& warnings,
                const std::vector<std::string>& problems);

    /// The project's markers, to give writeRun after the run.
    static std::unordered_set<const ProjectObject*> markersOf(const Project& project);
    /// The module's answer to the command, with what it means for the run.
    static std::string resultLine(const std::string& command, const CommandRun& run);
    /// "5 markers created on 1 track", "no marker created"; after writeRun.
    std::string summary() const;

private:
    void writeJson(const std::string& command, const CommandRun& run, const std::string& undoName,
                   const Project& project, const std::unordered_set<const ProjectObject*>& before);
    void writeTable(const std::string& command, const CommandRun& run, const std::string& undoName,
                    const Project& project);

    std::ostream& out_;
    std::unique_ptr<JsonWriter> json_;
    std::size_t created_ = 0;
    std::size_t tracksWithCreated_ = 0;
};

} // namespace Brennovar::RefHost
