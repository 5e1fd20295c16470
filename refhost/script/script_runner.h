#pragma once

#include "refhost/files/command_inputs.h"
#include "refhost/script/session_script.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

class DialogRuntime;
class DialogUser;
class Host;
class Project;

/// How one step of a script went.
struct StepOutcome {
    enum class Result { kDone, kRefused, kRefusedAsExpected, kDoneUnexpectedly, kSkipped };
    /// Counted from 1.
    std::size_t number = 0;
    std::string kind;
    Result result = Result::kSkipped;
    /// What happened, or why a person could not do it.
    std::string message;
    /// What a "show" step showed (the dialog's state as text and as JSON).
    std::string shown;
    nlohmann::json shownJson;
};

/// All steps of a run; a script passes when every step went as it expected.
struct ScriptReport {
    std::vector<StepOutcome> steps;
    /// A save step that did not expect to be refused could not write its file.
    bool outputFailed = false;

    bool passed() const noexcept;
    /// One line per step ("step 4 (addRow): done: row 1 added"), each "show" step's dialog
    /// under it, and a summary line.
    std::string text() const;
    nlohmann::json json() const;
};

/// Runs a session script in a host, on one project, as a person would: host steps (select, run
/// a command, undo, store, save) while no dialog is open, dialog steps while the dialog command
/// shows its dialog. A step a person could not do is refused with the reason; unless the step
/// expects that, the script stops there and the remaining steps are skipped. A dialog left open
/// when the steps run out is cancelled.
///
/// A save step never writes over one of the command's `inputs`.
///
/// The runner sets the host's dialog driver for its run and clears it afterwards.
class ScriptRunner {
public:
    ScriptRunner(Host& host, Project& project, CommandInputs inputs)
        : host_(host), project_(project), inputs_(std::move(inputs)) {}

    ScriptReport run(const std::vector<ScriptStep>& steps);
    /// Makes the host's dialogs play these steps (which outlive the runner's use) from the
    /// first, for a caller that runs the commands itself; report() tells how they went.
    void driveDialogs(const std::vector<ScriptStep>& steps);
    const ScriptReport& report() const noexcept { return report_; }

private:
    void playDialog(DialogRuntime& runtime);
    StepOutcome perform(const ScriptStep& step, DialogUser* user);
    StepOutcome hostStep(const ScriptStep& step);
    StepOutcome dialogStep(const ScriptStep& step, DialogUser& user);
    StepOutcome runCommand(const ScriptStep& step);
    StepOutcome select(const ScriptStep& step);
    StepOutcome judged(StepOutcome outcome, const ScriptStep& step);

    Host& host_;
    Project& project_;
    CommandInputs inputs_;
    const std::vector<ScriptStep>* steps_ = nullptr;
    std::size_t next_ = 0;
    bool stopped_ = false;
    ScriptReport report_;
};

} // namespace Brennovar::RefHost
