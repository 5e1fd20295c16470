#pragma once

#include "module/funknown.h"
#include "refhost/files/command_inputs.h"
#include "refhost/script/session_script.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
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
    /// What a run step's command answered.
    struct CommandAnswer {
        ResultCode result = ResultFalse;
        std::size_t markersMade = 0;
    };

    /// Counted from 1.
    std::size_t number = 0;
    std::string kind;
    Result result = Result::kSkipped;
    /// What happened, or why a person could not do it.
    std::string message;
    /// What a "show" step showed (the dialog's state as text and as JSON).
    std::string shown;
    nlohmann::json shownJson;
    /// A run step whose command ran.
    std::optional<CommandAnswer> command;

    /// "step 4 (addRow): done: row 1 added"
    std::string line() const;
    /// "done", "refused", "refused as expected", "done, but expected to be refused", "skipped".
    const char* resultName() const noexcept;
};

/// The steps of a run counted by result; a script passes when every step went as it expected.
class ScriptTally {
public:
    void add(const StepOutcome& step) noexcept { ++counts_[static_cast<int>(step.result)]; }
    bool passed() const noexcept;
    /// "16 steps: 15 done, 1 refused as expected" and the other results that occurred.
    std::string summary() const;
    /// A save step that did not expect to be refused could not write its file.
    void noteOutputFailed() noexcept { outputFailed_ = true; }
    bool outputFailed() const noexcept { return outputFailed_; }

private:
    std::size_t counts_[5] = {};
    bool outputFailed_ = false;
};

/// Receives each step's outcome as the step ends, so that none is kept longer. A run step that
/// opens the dialog ends after the steps played in its dialog, and comes after them.
using StepSink = std::function<void(StepOutcome&&)>;

/// All steps of a run, in the order they ended.
struct ScriptReport {
    std::vector<StepOutcome> steps;
    ScriptTally tally;

    bool passed() const noexcept { return tally.passed(); }
    /// One line per step and the summary.
    std::string text() const;
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

    /// Hands each step's outcome to the sink as it ends.
    ScriptTally run(const std::vector<ScriptStep>& steps, const StepSink& sink);
    /// The same, keeping every outcome.
    ScriptReport run(const std::vector<ScriptStep>& steps);
    /// A dialog driver that plays these steps (which outlive the runner's use) from the first,
    /// for a caller that runs the commands itself; the outcomes go to the sink (which outlives
    /// the runner's use too) or, without one, are dropped.
    std::function<void(DialogRuntime&)> dialogDriver(const std::vector<ScriptStep>& steps,
                                                     const StepSink* sink = nullptr);

private:
    void playDialog(DialogRuntime& runtime);
    StepOutcome perform(const ScriptStep& step, DialogUser* user);
    StepOutcome hostStep(const ScriptStep& step);
    StepOutcome dialogStep(const ScriptStep& step, DialogUser& user);
    StepOutcome runCommand(const ScriptStep& step);
    StepOutcome select(const ScriptStep& step);
    void end(StepOutcome outcome, const ScriptStep& step, std::size_t number);

    Host& host_;
    Project& project_;
    CommandInputs inputs_;
    const std::vector<ScriptStep>* steps_ = nullptr;
    const StepSink* sink_ = nullptr;
    std::size_t next_ = 0;
    bool stopped_ = false;
    ScriptTally tally_;
};

} // namespace Brennovar::RefHost
