#include "script_command.h"

#include "command_failure.h"
#include "refhost/script/script_runner.h"

#include <iostream>

namespace Brennovar::RefHost {

int runScript(const SessionOptions& options, const std::string& scriptPath, bool json) {
    std::vector<ScriptStep> steps;
    try {
        steps = SessionScript::read(scriptPath);
    } catch (const ScriptError& e) {
        throw CommandFailure(kExitBadInput, e.what());
    }
    HostSession session;
    Project& project = openSession(session, options);
    const ScriptReport report = ScriptRunner(session.host(), project).run(steps);
    const std::vector<std::string> problems = session.finish();
    if (json) {
        nlohmann::json out = report.json();
        out["hostProblems"] = problems;
        std::cout << out.dump(2) << '\n';
    } else {
        std::cout << report.text();
        for (const std::string& problem : problems)
            std::cerr << "zintara-host: " << problem << '\n';
    }
    return report.passed() && problems.empty() ? kExitOk : kExitCheckFailed;
}

} // namespace Brennovar::RefHost
