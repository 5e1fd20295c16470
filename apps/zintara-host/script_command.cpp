#include "script_command.h"

#include "refhost/core/host_error.h"
#include "refhost/script/script_runner.h"
#include "refhost/session/host_session.h"
#include "text_cells.h"
#include "tool_conventions.h"

#include <iostream>

namespace Brennovar::RefHost {

namespace {

// Each step is written as it ends and then forgotten, so that a long script needs no more memory
// than its longest step: the JSON report is opened before the first step and closed after the
// last.
void writeJsonStep(std::ostream& out, bool first, const StepOutcome& step) {
    nlohmann::json item = {{"step", step.number},
                           {"do", step.kind},
                           {"result", step.resultName()},
                           {"message", step.message}};
    if (step.command) {
        item["moduleResult"] = step.command->result;
        item["moduleResultText"] = resultText(step.command->result);
        item["markersMade"] = step.command->markersMade;
    }
    if (!step.shownJson.is_null())
        item["dialog"] = step.shownJson;
    std::string text = item.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    // Indented as an entry of the list; strings hold no raw line breaks.
    std::string indented = "    ";
    for (char c : text)
        indented += c == '\n' ? std::string("\n    ") : std::string(1, c);
    out << (first ? "\n" : ",\n") << indented;
}

} // namespace

int runScript(const SessionOptions& options, const std::string& scriptPath, bool json) {
    const std::vector<ScriptStep> steps = SessionScript::read(scriptPath);
    HostSession session;
    std::vector<std::string> warnings;
    Project& project = session.open(options, warnings);
    bool first = true;
    if (json)
        std::cout << "{\n  \"steps\": [";
    const StepSink sink = [&](StepOutcome&& step) {
        if (json)
            writeJsonStep(std::cout, first, step);
        else
            std::cout << printable(step.line()) << '\n' << printableLines(step.shown);
        first = false;
    };
    const ScriptTally tally =
        ScriptRunner(session.host(), project, options.inputs().add("the script", scriptPath))
            .run(steps, sink);
    const std::vector<std::string> problems = session.finish();
    if (json) {
        const nlohmann::json rest = {{"passed", tally.passed()},
                                     {"warnings", warnings},
                                     {"hostProblems", problems},
                                     {"summary", tally.summary()}};
        // The rest of the report's members, after the list of steps.
        std::cout << (first ? "]," : "\n  ],")
                  << rest.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).substr(1)
                  << '\n';
    } else {
        std::cout << tally.summary() << '\n';
        ToolConventions::printProblems(warnings, problems);
    }
    // A save step that cannot write its file is an output that cannot be written, as for --out.
    if (tally.outputFailed())
        return kExitOutputFailed;
    return tally.passed() && problems.empty() ? kExitOk : kExitCheckFailed;
}

} // namespace Brennovar::RefHost
