#include "script_command.h"

#include "command_failure.h"
#include "refhost/script/script_runner.h"
#include "tool_conventions.h"

#include <iostream>

namespace Brennovar::RefHost {

int runScript(const SessionOptions& options, const std::string& scriptPath, bool json) {
    // A script that cannot be read is a ScriptError, which names the file, the place and the
    // problem like a project file's error, and is reported as one.
    const std::vector<ScriptStep> steps = SessionScript::read(scriptPath);
    HostSession session;
    std::vector<std::string> warnings;
    Project& project = openSession(session, options, warnings);
    const ScriptReport report =
        ScriptRunner(session.host(), project, sessionInputs(options).add("the script", scriptPath))
            .run(steps);
    const std::vector<std::string> problems = session.finish();
    if (json) {
        nlohmann::json out = report.json();
        out["warnings"] = warnings;
        out["hostProblems"] = problems;
        std::cout << out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else {
        std::cout << report.text();
        ToolConventions::printWarnings(warnings);
        for (const std::string& problem : problems)
            std::cerr << "zintara-host: " << problem << '\n';
    }
    // A save step that cannot write its file is an output that cannot be written, as for --out.
    if (report.outputFailed)
        return kExitOutputFailed;
    return report.passed() && problems.empty() ? kExitOk : kExitCheckFailed;
}

} // namespace Brennovar::RefHost
