#include "script_command.h"

#include "refhost/script/script_runner.h"

#include <iostream>

namespace Brennovar::RefHost {

int runScript(const SessionOptions& options, const std::string& scriptPath, bool json) {
    std::vector<ScriptStep> steps;
    try {
        steps = SessionScript::read(scriptPath);
    } catch (const ScriptError& e) {
        if (json)
            std::cout << nlohmann::json{{"error", e.what()}}.dump(2) << '\n';
        else
            std::cerr << "zintara-host: " << e.what() << '\n';
        return kExitBadInput;
    }
    HostSession session;
    int status = kExitOk;
    Project* project = openSession(session, options, status);
    if (!project)
        return status;
    const ScriptReport report = ScriptRunner(session.host(), *project).run(steps);
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
